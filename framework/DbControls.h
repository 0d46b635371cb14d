#pragma once

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>

#include "platform/dataset/Dataset.h"

namespace velmora {


// A control bound to a field of a dataset's current row: it shows the value
// and, while the dataset is in the edit or insert state, writes what the user
// changes into the row. The tag (a design-time number) drives the edit
// dialog's rules.
class DbBinding {
public:
    virtual ~DbBinding() = default;
    data::Dataset *dataset() const { return m_dataset; }
    const QString &fieldName() const { return m_fieldName; }
    data::Field *field() const;
    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }
    // Shows the current value again.
    virtual void refresh() = 0;
    // Writes what is still pending; throws when the text is not a value of the field.
    virtual void commit() {}
    // Whether the control holds no value (for the required check).
    virtual bool isEmptyValue() const = 0;

protected:
    void bind(QObject *control, data::Dataset *dataset, const QString &fieldName);
    bool writable() const;

    QPointer<data::Dataset> m_dataset;
    QString m_fieldName;
    int m_tag = 0;
    bool m_loading = false;
};

class TDBEdit : public QLineEdit, public DbBinding {
    Q_OBJECT
public:
    explicit TDBEdit(QWidget *parent = nullptr);
    void setDataField(data::Dataset *dataset, const QString &fieldName);
    void setUpperCase(bool upper) { m_upper = upper; }
    bool upperCase() const { return m_upper; }
    void refresh() override;
    void commit() override;
    bool isEmptyValue() const override { return text().isEmpty(); }

protected:
    void focusOutEvent(QFocusEvent *event) override;

private:
    void edited(const QString &text);
    bool m_upper = false;
    bool m_pending = false;
};

class TDBMemo : public QPlainTextEdit, public DbBinding {
    Q_OBJECT
public:
    explicit TDBMemo(QWidget *parent = nullptr);
    void setDataField(data::Dataset *dataset, const QString &fieldName);
    void refresh() override;
    bool isEmptyValue() const override { return toPlainText().isEmpty(); }
};

// A flag: the undecided look stands for NULL; a click sets yes or no.
class TDBCheckBox : public QCheckBox, public DbBinding {
    Q_OBJECT
public:
    explicit TDBCheckBox(const QString &text, QWidget *parent = nullptr);
    void setDataField(data::Dataset *dataset, const QString &fieldName);
    void refresh() override;
    bool isEmptyValue() const override { return checkState() == Qt::PartiallyChecked; }

protected:
    void nextCheckState() override;
};

} // namespace velmora
