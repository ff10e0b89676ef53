#pragma once
#include <QWidget>

class QLineEdit;
class QCheckBox;
class QButtonGroup;
class QHBoxLayout;

namespace cangshu {

struct SearchField {
    QString caption; // "按读者编号"
    QString column;  // 读者编号
};

// The quick search: a text box, radio buttons choosing the column and "模糊查询" (ticked).
// Enter in the box or the "查询" button asks for a search.
class SearchBar : public QWidget {
    Q_OBJECT
public:
    explicit SearchBar(const QList<SearchField>& fields, QWidget* parent = nullptr);

    QLineEdit* textBox() const { return m_text; }
    QCheckBox* fuzzyBox() const { return m_fuzzy; }
    QString text() const;
    QString column() const;
    bool fuzzy() const;
    void chooseField(int index);

signals:
    void searchRequested();

private:
    QList<SearchField> m_fields;
    QLineEdit* m_text;
    QCheckBox* m_fuzzy;
    QButtonGroup* m_group;
};

} // namespace cangshu
