#include "export/BasePath.h"

void cutAtExtension(std::string& path) {
    auto dot = path.find_last_of('.');
    if (dot == std::string::npos) return;
    auto slash = path.find_last_of('/');
    if (slash != std::string::npos && slash > dot) return;
    path.resize(dot);
}
