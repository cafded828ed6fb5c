#include "platform/qt/QtDesktop.h"
