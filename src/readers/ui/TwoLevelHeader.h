#pragma once
#include <QHeaderView>

namespace cangshu {

// A horizontal header whose titles may carry a group: "书籍|借出册数" draws "书籍" once over
// all neighbouring columns of that group and "借出册数" under it; a title without "|" fills
// both rows.
class TwoLevelHeader : public QHeaderView {
    Q_OBJECT
public:
    explicit TwoLevelHeader(QWidget* parent = nullptr);

    QSize sizeHint() const override;
    // The group and the title of a column ("" as group when it has none).
    QString groupOf(int logicalIndex) const;
    QString titleOf(int logicalIndex) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString rawTitle(int logicalIndex) const;
};

} // namespace cangshu
