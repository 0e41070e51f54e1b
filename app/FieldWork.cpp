#include "app/FieldWork.h"

FieldWork workField;
