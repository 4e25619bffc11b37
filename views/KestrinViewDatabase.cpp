#include "KestrinView.h"

// Placeholder body; the database import is being built.
void CKestrinView::OnImportDatabase() {}
