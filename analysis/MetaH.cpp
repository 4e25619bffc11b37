#include "MetaH.h"
// outline
bool ComputeMetaH(IUiServices&, const CHPointArray&, std::int32_t, std::int32_t, bool, CHDataSet&) { return false; }
