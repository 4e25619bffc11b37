#include "SelectRangeDlg.h"
