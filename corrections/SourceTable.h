// The caster's source table: one "STR;" line per mountpoint, with the position of its base or
// network centre, offered nearest first so the driver picks the closest base.
#pragma once

#include <string>
#include <vector>

struct Mountpoint {
    std::string name;
    std::string identifier;  // usually the place
    std::string format;      // "RTCM 3.2", ...
    double latitude = 0;
    double longitude = 0;
    bool hasPosition = false;
    bool needsPosition = false;  // a network mountpoint: sends nothing until it has our GGA
};

// Reads every STR line of the table's text; other lines and malformed records are skipped.
std::vector<Mountpoint> parseSourceTable(const std::string& text);

// Great-circle distance in kilometres.
double distanceKm(double latitudeA, double longitudeA, double latitudeB, double longitudeB);

// Nearest to the given position first; mountpoints without a position last, by name.
void sortNearestFirst(std::vector<Mountpoint>& mountpoints, double latitude, double longitude);
