#pragma once

class IUiServices;

// The checks of a D and an M that a dialog gives the whole series or an
// interval: outside kMinEmbeddingD..kMaxEmbeddingD (kMinLagCount..
// kMaxLagCount) the estimate would measure nothing, and a saved interval
// would be left out when the document is opened again. A value outside
// says so, naming the limits, and gives false; the caller keeps its dialog
// open and changes nothing.
bool CheckEmbeddingD(IUiServices& ui, int nD);
bool CheckLagCountM(IUiServices& ui, int nM);
