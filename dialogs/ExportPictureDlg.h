#pragma once

#include "platform/ui/KestrinDialog.h"

class QCheckBox;
class QSpinBox;

// "Export Picture": the size of the picture in pixels and, for a PNG image,
// the resolution written into the file.
class CExportPictureDlg : public CKestrinDialog
{
    Q_OBJECT

public:
    static constexpr int kMaxSide = 10000;
    static constexpr int kMinDpi = 10;
    static constexpr int kMaxDpi = 9600;

    // withDpi: the file is an image that records its resolution.
    CExportPictureDlg(int width, int height, int dpi, bool withDpi, QWidget* parent = nullptr);

    // After OK: the values chosen.
    int m_nWidth = 0;
    int m_nHeight = 0;
    int m_nDpi = 96;
    bool m_bRuler = false;

    bool OnOK() override;

private:
    QSpinBox* m_width = nullptr;
    QSpinBox* m_height = nullptr;
    QSpinBox* m_dpi = nullptr;
    QCheckBox* m_ruler = nullptr;
};
