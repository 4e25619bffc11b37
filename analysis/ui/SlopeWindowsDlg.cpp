#include "SlopeWindowsDlg.h"
