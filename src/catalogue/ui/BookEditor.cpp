#include "BookEditor.h"

#include "BookChooser.h"
#include "ClassTreeWindow.h"
#include "PublisherWindow.h"
#include "core/Dictionary.h"
#include "widgets/Messages.h"

#include <QApplication>
#include <QBuffer>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QSpinBox>
#include <QVBoxLayout>

namespace cangshu {

namespace {

enum class Kind { Edit, Dictionary, Status, Memo, Date };

struct FieldSpec {
    const char16_t* label;
    const char16_t* column;
    Kind kind = Kind::Edit;
};

// The record fields in the order of the form, three to a row.
const FieldSpec kFieldSpecs[] = {
    {u"书籍编号：", u"书籍编号"},
    {u"标准ISBN：", u"标准ISBN"},
    {u"书籍名称：", u"书籍名称"},
    {u"分卷册号：", u"当前本数"},
    {u"出版社名：", u"出版社名"},
    {u"作者信息：", u"作者信息"},
    {u"出版地点：", u"出版地点"},
    {u"书籍价格：", u"书籍价格"},
    {u"书籍页码：", u"书籍页码"},
    {u"出版日期：", u"出版日期"},
    {u"书籍开本：", u"书籍开本", Kind::Dictionary},
    {u"所属语种：", u"所属语种", Kind::Dictionary},
    {u"配送物品：", u"配送物品"},
    {u"书籍版次：", u"书籍版次"},
    {u"印刷版面：", u"印刷版面", Kind::Dictionary},
    {u"所属丛书：", u"所属丛书"},
    {u"藏书总量：", u"藏书总量"},
    {u"馆内剩余：", u"馆内剩余"},
    {u"密    级：", u"密级", Kind::Dictionary},
    {u"分 类 号：", u"中图分类"},
    {u"分类名称：", u"分类名称"},
    {u"种 次 号：", u"种次号"},
    {u"索 书 号：", u"索书号"},
    {u"存放位置：", u"存放位置", Kind::Dictionary},
    {u"馆 藏 地：", u"馆藏地", Kind::Dictionary},
    {u"在馆状态：", u"在馆状态", Kind::Status},
    {u"入库时间：", u"入库时间", Kind::Date},
    {u"内容简介：", u"内容简介", Kind::Memo},
    {u"备注信息：", u"备注信息", Kind::Memo},
};

QString s(const char16_t* text) {
    return QString::fromUtf16(text);
}

// Enter in a field moves the focus here (after the field's own work).
const QHash<QString, QString>& enterNext() {
    static const QHash<QString, QString> map{
        {s(u"当前本数"), s(u"出版社名")},
        {s(u"作者信息"), s(u"出版地点")},
        {s(u"出版地点"), s(u"书籍价格")},
        {s(u"书籍价格"), s(u"书籍页码")},
        {s(u"书籍页码"), s(u"出版日期")},
        {s(u"出版日期"), s(u"书籍开本")},
        {s(u"配送物品"), s(u"书籍版次")},
        {s(u"书籍版次"), s(u"印刷版面")},
        {s(u"所属丛书"), s(u"藏书总量")},
        {s(u"藏书总量"), s(u"馆内剩余")},
        {s(u"馆内剩余"), s(u"密级")},
        {s(u"分类名称"), s(u"种次号")},
        // Choosing in a drop-down list moves on too.
        {s(u"书籍开本"), s(u"所属语种")},
        {s(u"所属语种"), s(u"配送物品")},
        {s(u"印刷版面"), s(u"所属丛书")},
        {s(u"密级"), s(u"中图分类")},
        {s(u"存放位置"), s(u"馆藏地")},
        {s(u"馆藏地"), s(u"内容简介")},
    };
    return map;
}

// The arrow keys: Down and Up.
const QHash<QString, std::pair<QString, QString>>& arrowMoves() {
    static const QHash<QString, std::pair<QString, QString>> map{
        {s(u"书籍编号"), {s(u"标准ISBN"), {}}},
        {s(u"标准ISBN"), {s(u"书籍名称"), s(u"书籍编号")}},
        {s(u"书籍名称"), {s(u"当前本数"), s(u"标准ISBN")}},
        {s(u"当前本数"), {s(u"出版社名"), s(u"书籍名称")}},
        {s(u"出版社名"), {s(u"作者信息"), s(u"当前本数")}},
        {s(u"作者信息"), {s(u"出版地点"), s(u"出版社名")}},
        {s(u"出版地点"), {s(u"书籍价格"), s(u"作者信息")}},
        {s(u"书籍价格"), {s(u"书籍页码"), s(u"出版地点")}},
        {s(u"书籍页码"), {s(u"出版日期"), s(u"书籍价格")}},
        {s(u"出版日期"), {s(u"书籍开本"), s(u"书籍页码")}},
        {s(u"书籍开本"), {s(u"所属语种"), {}}},
        {s(u"所属语种"), {s(u"配送物品"), {}}},
        {s(u"配送物品"), {s(u"书籍版次"), s(u"所属语种")}},
        {s(u"书籍版次"), {s(u"印刷版面"), s(u"配送物品")}},
        {s(u"印刷版面"), {s(u"所属丛书"), {}}},
        {s(u"所属丛书"), {s(u"藏书总量"), s(u"印刷版面")}},
        {s(u"藏书总量"), {s(u"馆内剩余"), s(u"所属丛书")}},
        {s(u"馆内剩余"), {s(u"中图分类"), s(u"藏书总量")}},
        {s(u"中图分类"), {s(u"分类名称"), s(u"馆内剩余")}},
        {s(u"分类名称"), {s(u"种次号"), s(u"中图分类")}},
        {s(u"种次号"), {s(u"索书号"), s(u"分类名称")}},
        {s(u"索书号"), {s(u"存放位置"), s(u"种次号")}},
        {s(u"存放位置"), {s(u"密级"), {}}},
    };
    return map;
}

// Fields that keep their colour while focused.
const QStringList& plainWhenFocused() {
    static const QStringList list{s(u"书籍编号"), s(u"标准ISBN"), s(u"书籍名称"), s(u"内容简介"),
                                  s(u"馆藏地"),   s(u"在馆状态"), s(u"入库时间")};
    return list;
}

QPushButton* makeButton(const QString& caption, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(caption);
    b->setAutoDefault(false);
    return b;
}

QString textOf(QWidget* w) {
    if (auto* e = qobject_cast<QLineEdit*>(w))
        return e->text();
    if (auto* c = qobject_cast<QComboBox*>(w))
        return c->currentText();
    if (auto* m = qobject_cast<QPlainTextEdit*>(w))
        return m->toPlainText();
    return {};
}

} // namespace

BookEditor::BookEditor(Database& db, const Home& home, BookEditSession& session,
                       BookEditorSettings settings, QWidget* parent)
    : QDialog(parent), m_db(db), m_home(home), m_session(session), m_settings(std::move(settings)) {
    setWindowTitle(addTitle());
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(4);
    layout->addWidget(buildSearchGroup());

    auto* record = new QGroupBox(this);
    auto* recordLayout = new QHBoxLayout(record);
    auto* fieldsBox = new QWidget(record);
    buildFields(fieldsBox);
    recordLayout->addWidget(fieldsBox, 1);
    recordLayout->addWidget(buildCover());
    layout->addWidget(record, 1);
    layout->addWidget(buildOptions());

    // Bottom bar: 种次号 choice, tools, save and cancel.
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(new QLabel(QStringLiteral("种次号："), this));
    m_rising = new QRadioButton(QStringLiteral("递增"), this);
    m_same = new QRadioButton(QStringLiteral("不变"), this);
    m_rising->setChecked(true);
    bottom->addWidget(m_rising);
    bottom->addWidget(m_same);
    bottom->addSpacing(16);
    QPushButton* width = makeButton(QStringLiteral("编号宽度"), this);
    connect(width, &QPushButton::clicked, this, [this] {
        if (m_openNumberSettings)
            m_openNumberSettings(this);
    });
    QPushButton* copy = makeButton(QStringLiteral("复制已有书籍"), this);
    connect(copy, &QPushButton::clicked, this, &BookEditor::copyExistingBook);
    QPushButton* master = makeButton(QStringLiteral("超强版"), this);
    master->setEnabled(false);
    m_masterButtons << master;
    bottom->addWidget(width);
    bottom->addWidget(copy);
    bottom->addWidget(master);
    bottom->addStretch();
    m_saveButton = makeButton(QStringLiteral("保存信息(&S)"), this);
    m_cancelButton = makeButton(QStringLiteral("取消退出(&C)"), this);
    connect(m_saveButton, &QPushButton::clicked, this, &BookEditor::save);
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    bottom->addWidget(m_saveButton);
    bottom->addWidget(m_cancelButton);
    layout->addLayout(bottom);
    m_saveButton->installEventFilter(this);

    auto* f2 = new QShortcut(QKeySequence(Qt::Key_F2), this);
    connect(f2, &QShortcut::activated, this, [this] { m_isbnSearch->setFocus(); });
}

QWidget* BookEditor::buildSearchGroup() {
    auto* group = new QGroupBox(
        QStringLiteral("特色功能：输入ISBN号或书籍名称自动通过互联网查找书目信息"), this);
    auto* row = new QHBoxLayout(group);
    m_isbnSearch = new QLineEdit(group);
    m_isbnSearch->setPlaceholderText(QStringLiteral("13位ISBN号码"));
    m_isbnSearch->setToolTip(QStringLiteral("13位ISBN号码"));
    m_titleSearch = new QLineEdit(group);
    m_titleSearch->setPlaceholderText(QStringLiteral("输入书名搜索"));
    m_titleSearch->setToolTip(QStringLiteral("输入书名搜索"));
    row->addWidget(new QLabel(QStringLiteral("ISBN号码："), group));
    row->addWidget(m_isbnSearch);
    row->addWidget(new QLabel(QStringLiteral("按书名搜："), group));
    row->addWidget(m_titleSearch);
    // The online searches come with the remote sources; their controls wait here disabled.
    QPushButton* byTitle = makeButton(QStringLiteral("点击搜书名"), group);
    auto* precat = new QCheckBox(QStringLiteral("预编书库"), group);
    QPushButton* search = makeButton(QStringLiteral("搜索"), group);
    m_coverSearch = makeButton(QStringLiteral("搜封面"), group);
    for (QWidget* w : {static_cast<QWidget*>(byTitle), static_cast<QWidget*>(precat),
                       static_cast<QWidget*>(search), static_cast<QWidget*>(m_coverSearch)}) {
        w->setEnabled(false);
        row->addWidget(w);
    }
    row->addWidget(new QLabel(QStringLiteral("等待搜索......"), group));
    m_isbnSearch->installEventFilter(this);
    m_titleSearch->installEventFilter(this);
    return group;
}

void BookEditor::buildFields(QWidget* box) {
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    int index = 0;
    int row = 0;
    for (const FieldSpec& fieldDef : kFieldSpecs) {
        const QString column = s(fieldDef.column);
        QWidget* editor = nullptr;
        switch (fieldDef.kind) {
        case Kind::Edit:
            editor = new QLineEdit(box);
            connect(static_cast<QLineEdit*>(editor), &QLineEdit::textEdited, this,
                    [this, column] { storeField(column); });
            break;
        case Kind::Dictionary:
        case Kind::Status: {
            auto* combo = new QComboBox(box);
            combo->setEditable(true);
            combo->setInsertPolicy(QComboBox::NoInsert);
            if (fieldDef.kind == Kind::Status)
                combo->addItems(
                    {QStringLiteral("在馆"), QStringLiteral("不可借"), QStringLiteral("借出")});
            connect(combo, &QComboBox::currentTextChanged, this,
                    [this, column] { storeField(column); });
            connect(combo, &QComboBox::activated, this, [this, column] {
                storeField(column);
                if (enterNext().contains(column))
                    focusField(enterNext().value(column));
            });
            editor = combo;
            break;
        }
        case Kind::Memo: {
            auto* memo = new QPlainTextEdit(box);
            memo->setTabChangesFocus(true);
            memo->setFixedHeight(52);
            connect(memo, &QPlainTextEdit::textChanged, this,
                    [this, column] { storeField(column); });
            editor = memo;
            break;
        }
        case Kind::Date: {
            auto* date = new QDateEdit(box);
            date->setCalendarPopup(true);
            date->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
            connect(date, &QDateEdit::dateChanged, this, [this, column] { storeField(column); });
            editor = date;
            break;
        }
        }
        editor->setObjectName(column);
        editor->installEventFilter(this);
        m_fields.insert(column, editor);
        m_columnOf.insert(editor, column);

        auto* label = new QLabel(s(fieldDef.label), box);
        label->setBuddy(editor);
        if (fieldDef.kind == Kind::Memo) {
            // The two memos share the last row, half each.
            const int at = column == QStringLiteral("内容简介") ? 0 : 3;
            if (at == 0)
                row = (index + 2) / 3;
            grid->addWidget(label, row, at);
            grid->addWidget(editor, row, at + 1, 1, 2);
            continue;
        }
        row = index / 3;
        const int col = (index % 3) * 2;
        QWidget* cell = editor;
        // Picker buttons and the hint beside their fields.
        QPushButton* extra = nullptr;
        if (column == QStringLiteral("书籍编号")) {
            extra = makeButton(QStringLiteral("自动编号"), box);
            connect(extra, &QPushButton::clicked, this, &BookEditor::issueNumber);
        } else if (column == QStringLiteral("出版社名")) {
            extra = makeButton(QStringLiteral("…"), box);
            extra->setObjectName(QStringLiteral("选择出版社"));
            connect(extra, &QPushButton::clicked, this, &BookEditor::pickPublisher);
        } else if (column == QStringLiteral("中图分类")) {
            extra = makeButton(QStringLiteral("…"), box);
            extra->setObjectName(QStringLiteral("选择分类"));
            connect(extra, &QPushButton::clicked, this, &BookEditor::pickClass);
        }
        if (extra || column == QStringLiteral("种次号")) {
            cell = new QWidget(box);
            auto* h = new QHBoxLayout(cell);
            h->setContentsMargins(0, 0, 0, 0);
            h->setSpacing(2);
            h->addWidget(editor, 1);
            if (extra) {
                extra->setFocusPolicy(Qt::NoFocus);
                h->addWidget(extra);
            } else {
                h->addWidget(new QLabel(QStringLiteral("回车修改"), cell));
            }
        }
        grid->addWidget(label, row, col);
        grid->addWidget(cell, row, col + 1);
        ++index;
    }
    auto* number = static_cast<QLineEdit*>(m_fields.value(QStringLiteral("书籍编号")));
    QFont bold = number->font();
    bold.setBold(true);
    for (const QString& c : {QStringLiteral("书籍编号"), QStringLiteral("书籍价格"),
                             QStringLiteral("藏书总量"), QStringLiteral("馆内剩余")}) {
        m_fields.value(c)->setFont(bold);
        m_fields.value(c)->setStyleSheet(c == QStringLiteral("藏书总量") ? "color: #c00000;"
                                                                         : "color: #0030c0;");
    }
    for (const QString& c :
         {QStringLiteral("书籍编号"), QStringLiteral("标准ISBN"), QStringLiteral("书籍名称")})
        m_fields.value(c)->setStyleSheet(m_fields.value(c)->styleSheet() + "background: #fff8e0;");
    m_fields.value(QStringLiteral("标准ISBN"))
        ->setToolTip(QStringLiteral("敲回车键，检查相同ISBN！"));
    m_fields.value(QStringLiteral("书籍名称"))
        ->setToolTip(QStringLiteral("敲回车键，进行书名查重！"));

    m_recallIsbn = new QCheckBox(QStringLiteral("存在相同的ISBN，调出对应书籍资料"), box);
    m_recallTitle = new QCheckBox(QStringLiteral("书名查重"), box);
    m_recallIsbn->setChecked(true);
    m_recallTitle->setChecked(true);
    auto* checks = new QHBoxLayout;
    checks->addWidget(m_recallIsbn);
    checks->addWidget(m_recallTitle);
    checks->addStretch();
    grid->addLayout(checks, row + 1, 0, 1, 6);
}

QWidget* BookEditor::buildCover() {
    auto* panel = new QGroupBox(QStringLiteral("封面图片"), this);
    auto* v = new QVBoxLayout(panel);
    m_cover = new QLabel(panel);
    m_cover->setFixedSize(150, 200);
    m_cover->setAlignment(Qt::AlignCenter);
    m_cover->setFrameShape(QFrame::StyledPanel);
    m_cover->installEventFilter(this);
    v->addWidget(m_cover, 0, Qt::AlignHCenter);
    auto* buttons = new QGridLayout;
    QPushButton* choose = makeButton(QStringLiteral("选择图片"), panel);
    QPushButton* clear = makeButton(QStringLiteral("取消图片"), panel);
    QPushButton* enlarge = makeButton(QStringLiteral("放大图片"), panel);
    QPushButton* camera = makeButton(QStringLiteral("视频拍照"), panel);
    camera->setEnabled(false); // the camera window comes with the photo capture
    connect(choose, &QPushButton::clicked, this, &BookEditor::chooseCover);
    connect(clear, &QPushButton::clicked, this, &BookEditor::clearCover);
    connect(enlarge, &QPushButton::clicked, this, &BookEditor::enlargeCover);
    buttons->addWidget(choose, 0, 0);
    buttons->addWidget(clear, 0, 1);
    buttons->addWidget(enlarge, 1, 0);
    buttons->addWidget(camera, 1, 1);
    v->addLayout(buttons);
    QPushButton* master = makeButton(QStringLiteral("超强版"), panel);
    master->setEnabled(false);
    m_masterButtons << master;
    v->addWidget(master);
    v->addStretch();
    for (QPushButton* b : {choose, clear, enlarge, camera, master})
        b->setFocusPolicy(Qt::NoFocus);
    return panel;
}

QWidget* BookEditor::buildOptions() {
    m_options = new QGroupBox(this);
    auto* row = new QHBoxLayout(m_options);
    auto addBox = [&](const QString& caption) {
        auto* box = new QCheckBox(caption, m_options);
        box->setObjectName(caption);
        m_optionBoxes << box;
        row->addWidget(box);
        connect(box, &QCheckBox::toggled, this,
                [this, box](bool checked) { optionToggled(box, checked); });
        return box;
    };
    addBox(QStringLiteral("书籍为复本："));
    m_copies = new QSpinBox(m_options);
    m_copies->setRange(0, 999);
    m_copies->setValue(2);
    row->addWidget(m_copies);
    addBox(QStringLiteral("复制本书"));
    addBox(QStringLiteral("书籍为卷或集："));
    m_volumes = new QSpinBox(m_options);
    m_volumes->setRange(0, 999);
    m_volumes->setValue(2);
    row->addWidget(m_volumes);
    m_unit = new QComboBox(m_options);
    m_unit->setEditable(true);
    m_unit->addItems({QStringLiteral("卷"), QStringLiteral("集"), QStringLiteral("册")});
    row->addWidget(m_unit);
    addBox(QStringLiteral("书籍为上、下册录入"));
    addBox(QStringLiteral("书籍为上、中、下册录入"));
    row->addStretch();
    return m_options;
}

QCheckBox* BookEditor::option(const QString& caption) const {
    for (QCheckBox* b : m_optionBoxes)
        if (b->text() == caption)
            return b;
    return nullptr;
}

void BookEditor::optionToggled(QCheckBox* box, bool checked) {
    if (checked) {
        for (QCheckBox* other : m_optionBoxes)
            if (other != box) {
                const QSignalBlocker block(other);
                other->setChecked(false);
            }
        m_same->setChecked(true);
    } else {
        m_rising->setChecked(true);
    }
}

SaveOptions BookEditor::saveOptions() const {
    SaveOptions o;
    o.incrementSequence = m_rising->isChecked();
    if (!m_options->isVisible() && m_session.state() != BookEditSession::State::Insert)
        return o;
    if (m_optionBoxes[0]->isChecked()) {
        o.kind = SaveOptions::Kind::Copies;
        o.count = m_copies->value();
    } else if (m_optionBoxes[1]->isChecked()) {
        o.kind = SaveOptions::Kind::CopyThis;
    } else if (m_optionBoxes[2]->isChecked()) {
        o.kind = SaveOptions::Kind::Volumes;
        o.count = m_volumes->value();
        o.unit = m_unit->currentText();
    } else if (m_optionBoxes[3]->isChecked()) {
        o.kind = SaveOptions::Kind::TwoParts;
    } else if (m_optionBoxes[4]->isChecked()) {
        o.kind = SaveOptions::Kind::ThreeParts;
    }
    return o;
}

void BookEditor::fillDictionaries() {
    for (const FieldSpec& fieldDef : kFieldSpecs) {
        if (fieldDef.kind != Kind::Dictionary)
            continue;
        auto* combo = static_cast<QComboBox*>(m_fields.value(s(fieldDef.column)));
        const QSignalBlocker block(combo);
        combo->clear();
        try {
            combo->addItems(dictionaryValues(m_db, s(fieldDef.column)));
        } catch (const DatabaseError&) {
            // A missing dictionary leaves its list empty; typing still works.
        }
    }
}

void BookEditor::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    for (QWidget* b : m_masterButtons)
        b->setVisible(m_settings.masterLookup);
    m_coverSearch->setVisible(m_settings.titleSearch);
    fillDictionaries();
    m_options->setVisible(windowTitle() == addTitle());
    for (const QString& c : {QStringLiteral("藏书总量"), QStringLiteral("馆内剩余")})
        static_cast<QLineEdit*>(m_fields.value(c))->setReadOnly(m_session.oneToOne());
    option(QStringLiteral("复制本书"))->setChecked(false);
    m_session.resetSaved();
    loadFields();
    m_isbnSearch->clear();
    m_titleSearch->clear();
    m_isbnSearch->setFocus();
}

void BookEditor::done(int result) {
    // Whatever was not stored is dropped with the window.
    if (m_session.state() != BookEditSession::State::Browse)
        m_session.cancel();
    QDialog::done(result);
}

void BookEditor::loadFields() {
    m_loading = true;
    for (auto it = m_fields.cbegin(); it != m_fields.cend(); ++it) {
        const QVariant v = m_session.value(it.key());
        if (auto* e = qobject_cast<QLineEdit*>(it.value())) {
            e->setText(v.toString());
            e->setCursorPosition(0);
        } else if (auto* c = qobject_cast<QComboBox*>(it.value())) {
            c->setEditText(v.toString());
        } else if (auto* m = qobject_cast<QPlainTextEdit*>(it.value())) {
            m->setPlainText(v.toString());
        } else if (auto* d = qobject_cast<QDateEdit*>(it.value())) {
            QDate date = v.toDate();
            if (!date.isValid())
                date = QDate::fromString(v.toString(), Qt::ISODate);
            d->setDate(date.isValid() ? date : m_db.today());
        }
    }
    m_loading = false;
    showCover();
}

void BookEditor::storeField(const QString& column) {
    if (m_loading)
        return;
    QWidget* w = m_fields.value(column);
    if (auto* d = qobject_cast<QDateEdit*>(w))
        m_session.setValue(column, d->date());
    else
        m_session.setValue(column, textOf(w));
}

void BookEditor::focusField(const QString& column) {
    if (QWidget* w = m_fields.value(column)) {
        w->setFocus();
        if (auto* e = qobject_cast<QLineEdit*>(w))
            e->selectAll();
    }
}

bool BookEditor::recall(RecallBy by) {
    const QList<QVariantMap> found = m_session.recallCandidates(by);
    if (found.isEmpty())
        return true;
    QMessageBox box(QMessageBox::Information, QStringLiteral("提示"), recallQuestion(by),
                    QMessageBox::Yes | QMessageBox::No, this);
    if (box.exec() != QMessageBox::Yes)
        return true;
    const QVariantMap* chosen = BookChooser::pick(found, this);
    if (!chosen)
        return false; // cancelled: the focus stays
    m_session.applyRecall(*chosen, by);
    loadFields();
    return true;
}

void BookEditor::enterPressed(const QString& column) {
    const QString value = textOf(m_fields.value(column)).trimmed();
    try {
        if (column == QStringLiteral("书籍编号")) {
            if (value.isEmpty()) {
                issueNumber();
            } else if (value.size() == 13 || value.size() == 10) {
                // A scanned ISBN in the number field.
                if (m_session.fillPublisherFromIsbn(value, true))
                    loadFields();
            }
            focusField(QStringLiteral("标准ISBN"));
        } else if (column == QStringLiteral("标准ISBN")) {
            if (value.isEmpty()) {
                focusField(QStringLiteral("书籍名称"));
                return;
            }
            if (m_session.fillPublisherFromIsbn(value, false))
                loadFields();
            if (m_session.isAdding() && m_recallIsbn->isChecked() && !recall(RecallBy::Isbn))
                return;
            focusField(QStringLiteral("书籍名称"));
        } else if (column == QStringLiteral("书籍名称")) {
            if (m_session.isAdding() && !value.isEmpty() && m_recallTitle->isChecked() &&
                !recall(RecallBy::Title))
                return;
            focusField(QStringLiteral("当前本数"));
        } else if (column == QStringLiteral("出版社名")) {
            if (value.isEmpty())
                pickPublisher();
            else
                focusField(QStringLiteral("作者信息"));
        } else if (column == QStringLiteral("中图分类")) {
            if (value.isEmpty()) {
                pickClass();
                return;
            }
            if (m_session.completeClass(value))
                loadFields();
            focusField(QStringLiteral("分类名称"));
        } else if (column == QStringLiteral("种次号")) {
            storeField(column);
            m_session.recomputeCallNumber();
            loadFields();
        } else if (enterNext().contains(column)) {
            focusField(enterNext().value(column));
        }
    } catch (const DatabaseError& e) {
        showError(this, e.message());
    }
}

bool BookEditor::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_cover && event->type() == QEvent::MouseButtonPress) {
        enlargeCover();
        return true;
    }
    const QString column = m_columnOf.value(watched);
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        auto* w = qobject_cast<QWidget*>(watched);
        const bool highlighted = w && (watched == m_isbnSearch || watched == m_titleSearch ||
                                       (!column.isEmpty() && !plainWhenFocused().contains(column)));
        if (highlighted) {
            QPalette p = w->palette();
            p.setColor(QPalette::Base, event->type() == QEvent::FocusIn
                                           ? QColor(Qt::cyan)
                                           : QApplication::palette().color(QPalette::Base));
            w->setPalette(p);
        }
        return false;
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (watched == m_isbnSearch && enter) {
        // The online search is not here yet: an ISBN typed here goes on to the record.
        focusField(QStringLiteral("书籍编号"));
        return true;
    }
    if (watched == m_isbnSearch && key->key() == Qt::Key_Down) {
        focusField(QStringLiteral("书籍编号"));
        return true;
    }
    if (watched == m_titleSearch && enter)
        return true;
    if (watched == m_saveButton) {
        if (key->key() == Qt::Key_Down) {
            m_cancelButton->setFocus();
            return true;
        }
        if (key->key() == Qt::Key_Up) {
            m_isbnSearch->setFocus();
            return true;
        }
        return false;
    }
    if (column.isEmpty())
        return false;
    if (enter && !qobject_cast<QPlainTextEdit*>(watched)) {
        if (auto* combo = qobject_cast<QComboBox*>(watched)) {
            storeField(column);
            if (enterNext().contains(column))
                focusField(enterNext().value(column));
            (void)combo;
            return true;
        }
        enterPressed(column);
        return true;
    }
    if ((key->key() == Qt::Key_Down || key->key() == Qt::Key_Up) && arrowMoves().contains(column)) {
        const auto& [down, up] = arrowMoves().value(column);
        const QString target = key->key() == Qt::Key_Down ? down : up;
        if (!target.isEmpty()) {
            focusField(target);
            return true;
        }
    }
    return false;
}

bool BookEditor::save() {
    Outcome out;
    try {
        out = m_session.post(saveOptions());
    } catch (const DatabaseError& e) {
        showError(this, e.message());
        return false;
    }
    if (!out.ok) {
        if (!out.message.isEmpty())
            showNotice(this, out.message);
        focusField(out.focus);
        return false;
    }
    if (m_session.state() == BookEditSession::State::Insert) {
        // 复制本书: the data stays for the next copy.
        loadFields();
        focusField(QStringLiteral("书籍编号"));
        return true;
    }
    accept();
    return true;
}

void BookEditor::issueNumber() {
    try {
        m_session.issueNumber();
    } catch (const DatabaseError& e) {
        showError(this, e.message());
        return;
    }
    loadFields();
}

void BookEditor::pickClass() {
    ClassPicker picker(m_db, m_home, ClassScheme::books(), QStringLiteral("选择图书类型"), this);
    picker.exec();
    const auto chosen = picker.chosen();
    if (!chosen)
        return;
    try {
        m_session.chooseClass(chosen->number, chosen->name);
    } catch (const DatabaseError& e) {
        showError(this, e.message());
        return;
    }
    loadFields();
    focusField(QStringLiteral("书籍价格"));
}

void BookEditor::pickPublisher() {
    PublisherWindow window(m_db, this);
    window.setPickerMode(true);
    window.exec();
    const auto chosen = window.chosen();
    if (!chosen)
        return;
    m_session.setPublisher(chosen->name, chosen->place);
    loadFields();
    focusField(QStringLiteral("作者信息"));
}

void BookEditor::copyExistingBook() {
    bool ok = false;
    const QString number =
        QInputDialog::getText(this, QStringLiteral("选择书籍"), QStringLiteral("书籍编号："),
                              QLineEdit::Normal, {}, &ok)
            .trimmed();
    if (!ok || number.isEmpty())
        return;
    QList<QVariantMap> found;
    try {
        for (const QSqlRecord& r :
             m_db.rows(QStringLiteral("select * from [书籍资料] where [书籍编号]=? order by [ID]"),
                       {number}))
            found.append(recordMap(r));
    } catch (const DatabaseError& e) {
        showError(this, e.message());
        return;
    }
    const QVariantMap* chosen = BookChooser::pick(found, this);
    if (!chosen || m_session.state() == BookEditSession::State::Browse)
        return;
    m_session.copyFrom(*chosen);
    loadFields();
}

void BookEditor::chooseCover() {
    const QString file = QFileDialog::getOpenFileName(
        this, QStringLiteral("选择图片"), m_home.coverFolder(),
        QStringLiteral("图片文件 (*.jpg *.jpeg *.png *.bmp *.gif);;所有文件 (*)"));
    if (file.isEmpty())
        return;
    const Outcome out = m_session.setCoverFromFile(file);
    if (!out.ok) {
        showNotice(this, out.message);
        return;
    }
    loadFields();
}

void BookEditor::clearCover() {
    m_session.clearCover();
    loadFields();
}

void BookEditor::showCover() {
    QPixmap pixmap;
    if (m_session.hasCover())
        pixmap.loadFromData(m_session.value(QStringLiteral("bookimage")).toByteArray(), "JPG");
    if (pixmap.isNull())
        m_cover->clear();
    else
        m_cover->setPixmap(
            pixmap.scaled(m_cover->size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

void BookEditor::enlargeCover() {
    if (!m_session.hasCover())
        return;
    QPixmap pixmap;
    pixmap.loadFromData(m_session.value(QStringLiteral("bookimage")).toByteArray(), "JPG");
    QDialog view(this, Qt::WindowStaysOnTopHint);
    view.setWindowTitle(QStringLiteral("放大"));
    auto* label = new QLabel(&view);
    label->setPixmap(pixmap);
    label->setScaledContents(true);
    auto* layout = new QVBoxLayout(&view);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label);
    view.resize(pixmap.size().boundedTo(QSize(1000, 700)));
    view.exec();
}

} // namespace cangshu
