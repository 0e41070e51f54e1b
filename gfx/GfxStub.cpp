// Placeholder until the graphics layer lands.
