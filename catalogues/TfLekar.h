#pragma once

#include "framework/TcData.h"
#include "framework/TcDataDialog.h"

namespace velmora {

class TfLekarDijalog : public TcDataDialog {
    Q_OBJECT
public:
    explicit TfLekarDijalog(TfrmGrid *owner);
    void aSaveExecute() override;
};

// The catalogue "Unos lekara".
class TfLekar : public TcData {
    Q_OBJECT
public:
    explicit TfLekar(QWidget *parent = nullptr);
    void FormCreate() override;
};

} // namespace velmora
