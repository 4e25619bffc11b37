#include "MetaHParamsDlg.h"
