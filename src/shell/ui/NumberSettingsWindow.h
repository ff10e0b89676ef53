#pragma once
#include "core/Numbering.h"

#include <QDialog>

class QLineEdit;

namespace cangshu {

// "设置编号宽度": width, prefix, suffix and counter of book, periodical and reader numbers.
class NumberSettingsWindow : public QDialog {
    Q_OBJECT
public:
    explicit NumberSettingsWindow(Database& db, QWidget* parent = nullptr);

    QLineEdit* box(NumberKind kind, NumberField field) const;
    void load();

public slots:
    void save();
    void showExample();

protected:
    void showEvent(QShowEvent* event) override;

private:
    Database& m_db;
    QLineEdit* m_boxes[3][4] = {};
};

} // namespace cangshu
