#include "PlotPointDlg.h"
