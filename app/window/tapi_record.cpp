#include "app/window/tapi_record.h"

TTApi Tapi;
