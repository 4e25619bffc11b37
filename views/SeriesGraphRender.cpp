#include "SeriesGraphRender.h"

void DrawSeriesGraph(QPainter&, int, int, const CSeriesGraphData&, bool)
{
}
