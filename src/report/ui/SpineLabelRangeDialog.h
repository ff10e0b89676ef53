#pragma once
#include "core/Database.h"

#include <QDialog>
#include <QVariantMap>

class QLineEdit;
class QRadioButton;

namespace cangshu::report {

// "打印书标条码": asked by the book window before it prints a label template. Either the
// list as it stands ("直接打印") or the books of a range of book numbers.
class SpineLabelRangeDialog : public QDialog {
    Q_OBJECT
public:
    explicit SpineLabelRangeDialog(QWidget* parent = nullptr);

    bool isConfirmed() const { return m_confirmed; }
    bool useRange() const;
    QString from() const;
    QString to() const;
    // The books of the range, in the book window's columns (empty: every column).
    QList<QVariantMap> rangeRows(const Database& db, const QStringList& columns = {}) const;

    QRadioButton* directOption() const { return m_direct; }
    QRadioButton* rangeOption() const { return m_range; }
    QLineEdit* fromEdit() const { return m_from; }
    QLineEdit* toEdit() const { return m_to; }

    // "开始打印" and "取消打印".
    bool start();
    void cancel();

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool m_confirmed = false;
    QRadioButton* m_direct;
    QRadioButton* m_range;
    QLineEdit* m_from;
    QLineEdit* m_to;
};

} // namespace cangshu::report
