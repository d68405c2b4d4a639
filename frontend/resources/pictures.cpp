#include "frontend/resources/pictures.h"
