// Placeholder until the resources land.
