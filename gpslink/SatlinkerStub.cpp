// Placeholder until the reader thread lands.
