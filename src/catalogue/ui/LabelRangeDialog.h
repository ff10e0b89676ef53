#pragma once
#include "core/Database.h"

#include <QDialog>
#include <QVariantMap>

class QLineEdit;
class QRadioButton;

namespace cangshu {

// "打印书标条码": print the labels of the list shown, or of a range of book numbers.
class LabelRangeDialog : public QDialog {
    Q_OBJECT
public:
    explicit LabelRangeDialog(const Database& db, QWidget* parent = nullptr);
    bool useRange() const;
    QLineEdit* fromEdit() const { return m_from; }
    QLineEdit* toEdit() const { return m_to; }
    QList<QVariantMap> rows() const;
    bool confirm();

private:
    const Database& m_db;
    QRadioButton* m_current;
    QRadioButton* m_range;
    QLineEdit* m_from;
    QLineEdit* m_to;
};

} // namespace cangshu
