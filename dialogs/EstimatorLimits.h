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
// The first lag of the fit: 1 to M - 1, so that at least two lags are
// fitted (FirstLagRangeMessage otherwise).
bool CheckFirstLag(IUiServices& ui, int nRMin, int nM);
// The same where M is either typed (typedM, checked against nM) or each
// interval's best: then only a first lag below 1 is refused here, and an
// interval whose best M leaves no two lags after it fits from lag 1.
bool CheckFirstLagChoice(IUiServices& ui, int nRMin, bool typedM, int nM);
