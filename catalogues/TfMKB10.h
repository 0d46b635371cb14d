#pragma once

#include "framework/TcData.h"
#include "framework/TcDataDialog.h"

namespace velmora {

class TfMKB10Dijalog : public TcDataDialog {
    Q_OBJECT
public:
    explicit TfMKB10Dijalog(TfrmGrid *owner);
    void aSaveExecute() override;
};

// The catalogue "Unos MKB10".
class TfMKB10 : public TcData {
    Q_OBJECT
public:
    explicit TfMKB10(QWidget *parent = nullptr);
    void FormCreate() override;
};

} // namespace velmora
