// The [corrections] section of sulcovane.conf:
//   on=false  caster=  port=2101  mountpoint=  user=  password=  version=2
#pragma once

#include "corrections/NtripSettings.h"

NtripSettings loadCorrectionsConfig();
// False when the file could not be written.
bool saveCorrectionsConfig(const NtripSettings& settings);
