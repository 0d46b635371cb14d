#pragma once

#include "app/TcSubMain.h"

class QPushButton;

namespace velmora {

// The catalogue menu: one large button per catalogue, in one column.
class TfKatalog : public TcSubMain {
    Q_OBJECT
public:
    explicit TfKatalog(QWidget *parent = nullptr);
    void FormShow() override;

    QList<QAction *> entries;
    QList<QPushButton *> buttons;
};

// Opens the catalogue menu modally over the main window.
void openCatalogues(QWidget *mainWindow);

} // namespace velmora
