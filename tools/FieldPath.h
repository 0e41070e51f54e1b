// The simulated tractor's way over the field: straight passes of a given length, each one
// spacing to the right of the one before, joined by half-circle turns.
#pragma once

struct FieldPathConfig {
    double originLatitude = 48.1173;  // start of the first pass, degrees
    double originLongitude = 11.5167;
    double headingDegrees = 0.0;  // direction of the first pass, clockwise from north
    double passLength = 200.0;    // metres
    double spacing = 6.0;         // metres between pass centre lines
    // Bends every pass around a centre this far right of the first one (metres; 0: straight):
    // the passes become concentric arcs, still one spacing apart, turning right outward.
    double bendRadius = 0.0;
};

struct FieldPoint {
    double latitude = 0.0;   // degrees
    double longitude = 0.0;  // degrees
    double course = 0.0;     // degrees clockwise from north, 0 to 360
};

// Where the tractor is after `distance` metres, with `eastNoise` and `northNoise` metres of
// receiver error added to the position.
FieldPoint pointAlongPath(const FieldPathConfig& config, double distance, double eastNoise = 0.0,
                          double northNoise = 0.0);
