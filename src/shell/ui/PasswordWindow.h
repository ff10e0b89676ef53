#pragma once
#include "core/Database.h"

#include <QDialog>

class QLineEdit;

namespace cangshu {

// " 管理员密码修改": the logged-in operator changes his own password.
class PasswordWindow : public QDialog {
    Q_OBJECT
public:
    PasswordWindow(Database& db, QWidget* parent = nullptr);
    void setOperator(const QString& name);

    QLineEdit* oldBox() const { return m_old; }
    QLineEdit* newBox() const { return m_new; }
    QLineEdit* confirmBox() const { return m_confirm; }

public slots:
    void confirm();

protected:
    void showEvent(QShowEvent* event) override;

private:
    Database& m_db;
    QLineEdit* m_user;
    QLineEdit* m_old;
    QLineEdit* m_new;
    QLineEdit* m_confirm;
};

} // namespace cangshu
