#pragma once

#include <QStringList>
#include <QVariant>
#include <QWidget>

#include <functional>
#include <memory>

class QComboBox;
class QToolButton;

namespace velmora {

class TDBEdit;
class TcData;

namespace data {
class Dataset;
}

// A foreign key in an edit dialog: the code of the referenced catalogue row in
// a small bound field, the row's display text in a list beside it, and a look
// button (or F2) that opens the catalogue's browse window as a picker.
class TfrmLookUp : public QWidget {
    Q_OBJECT
public:
    using PickerFactory = std::function<std::unique_ptr<TcData>()>;

    explicit TfrmLookUp(QWidget *parent, const QString &name = QStringLiteral("frmLookUp1"));

    void Configure(const QString &keyField, const QString &displayField, PickerFactory pickerClass, const QString &tableName);
    // The edited column (the code field's binding).
    void setDataField(data::Dataset *dataset, const QString &fieldName);
    // The list: a catalogue dataset, its key field and the columns shown (the first is searched).
    void setList(data::Dataset *list, const QString &keyField, const QStringList &listFields, int tag = 0);

    void Puni(const QString &code);
    void dbLookFieldExit();
    void cbLookBoxExit();
    void FrameExit();
    void sbLookClick();

    void openList();
    void closeList();
    int listTag() const { return m_listTag; }
    // The key of the entry the list shows; invalid when none.
    QVariant listValue() const;
    QString listText() const;
    data::Dataset *editedDataset() const;
    QString editedField() const;

    TDBEdit *dbLookField = nullptr;
    QComboBox *cbLookBox = nullptr;
    QToolButton *sbLook = nullptr;
    QString KeyField;
    QString DisplayField;
    QString TableName;
    PickerFactory PickerClass;
    QString TypedText;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void focusChanged(QWidget *old, QWidget *now);
    void fillList();
    void setEdited(const QVariant &value);
    bool editing() const;

    data::Dataset *m_list = nullptr;
    QString m_listKey;
    QStringList m_listFields;
    int m_listTag = 0;
};

} // namespace velmora
