#include "platform/posix/PosixSystem.h"
