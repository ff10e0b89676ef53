#pragma once
#include <QDialog>

class QLineEdit;

namespace cangshu {

// The class dialog: "分类号：" and "分类名：", "保存" (Enter) and "取消" (Esc). The caller
// sets the title ("增加同级类型", "增加下级类型", "修改当前类型").
class ClassDialog : public QDialog {
    Q_OBJECT
public:
    explicit ClassDialog(QWidget* parent = nullptr);
    void setValues(const QString& number, const QString& name);
    QString number() const;
    QString name() const;
    QLineEdit* numberEdit() const { return m_number; }
    QLineEdit* nameEdit() const { return m_name; }
    void save();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLineEdit* m_number;
    QLineEdit* m_name;
};

} // namespace cangshu
