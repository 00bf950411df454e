#include "rules/rules.h"
