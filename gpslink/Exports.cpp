#include "gpslink/satlinker.h"

extern "C" SATLINKER_API int InitSatlinker(void*, GpsFixCallback, SATLINKERCONFIG) { return 1; }
extern "C" SATLINKER_API int FinishSatlinker(void) { return 1; }
