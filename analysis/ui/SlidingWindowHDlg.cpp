#include "SlidingWindowHDlg.h"
