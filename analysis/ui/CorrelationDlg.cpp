#include "CorrelationDlg.h"
