#include "SlidingWindowsDlg.h"
