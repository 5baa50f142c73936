#include "b/B.h"

#include "c/C.h"
