// GDAL reports to stderr unless told otherwise; the farm book and its files hand their errors
// back to the driver instead, with GDAL's own words for what went wrong.
#pragma once

#include <cpl_error.h>

#include <string>

class QuietErrors {
  public:
    QuietErrors() {
        CPLPushErrorHandler(CPLQuietErrorHandler);
        CPLErrorReset();
    }
    ~QuietErrors() { CPLPopErrorHandler(); }
    QuietErrors(const QuietErrors&) = delete;
    QuietErrors& operator=(const QuietErrors&) = delete;
};

// What failed, and GDAL's last message about it when it left one.
inline std::string gdalReason(const std::string& what) {
    const char* message = CPLGetLastErrorMsg();
    if (message && *message) return what + ": " + message;
    return what;
}
