#include "ReaderPanel.h"

#include "circulation/DeskLookups.h"
#include "readers/CardDevices.h"
#include "readers/Photos.h"
#include "widgets/Messages.h"
#include "widgets/PickList.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>

namespace cangshu {

namespace {
// Display fields sit in two label/field columns left of the photo.
constexpr int fieldColumns = 2;
} // namespace

ReaderPanel::ReaderPanel(Database& db, NameEntry nameEntry, const QString& title, QWidget* parent)
    : QGroupBox(title, parent), m_db(db), m_grid(new QGridLayout), m_number(new QLineEdit(this)),
      m_pick(new QToolButton(this)), m_gender(new QLineEdit(this)), m_type(new QLineEdit(this)),
      m_idNumber(new QLineEdit(this)), m_photo(new QLabel(this)) {
    m_number->setObjectName(QStringLiteral("readerNumber"));
    m_pick->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    m_pick->setToolTip(QStringLiteral("选择读者"));
    m_pick->setFocusPolicy(Qt::NoFocus);
    auto* idCard = new QPushButton(QStringLiteral("读身份证"), this);
    idCard->setObjectName(QStringLiteral("读身份证"));
    idCard->setAutoDefault(false);
    idCard->setFocusPolicy(Qt::NoFocus);

    auto* numberRow = new QHBoxLayout;
    numberRow->setContentsMargins(0, 0, 0, 0);
    numberRow->addWidget(m_number, 1);
    numberRow->addWidget(m_pick);
    numberRow->addWidget(idCard);
    m_grid->addWidget(new QLabel(QStringLiteral("读者编号【F2】"), this), 0, 0);
    m_grid->addLayout(numberRow, 0, 1);

    QWidget* nameWidget;
    if (nameEntry == NameEntry::Choice) {
        m_nameChoice = new QComboBox(this);
        m_nameChoice->setEditable(true);
        m_nameChoice->setInsertPolicy(QComboBox::NoInsert);
        m_nameChoice->setObjectName(QStringLiteral("readerName"));
        nameWidget = m_nameChoice;
        connect(m_nameChoice, &QComboBox::activated, this,
                [this](int index) { chooseName(m_nameChoice->itemText(index)); });
    } else {
        m_name = new QLineEdit(this);
        m_name->setReadOnly(true);
        m_name->setFocusPolicy(Qt::ClickFocus);
        nameWidget = m_name;
    }
    m_grid->addWidget(new QLabel(QStringLiteral("读者姓名"), this), 0, 2);
    m_grid->addWidget(nameWidget, 0, 3);
    m_nextCell = 2;

    m_fields.insert(QStringLiteral("读者姓名"), m_name);
    auto place = [this](const QString& caption, QWidget* w) {
        const int row = m_nextCell / fieldColumns, column = (m_nextCell % fieldColumns) * 2;
        m_grid->addWidget(new QLabel(caption, this), row, column);
        m_grid->addWidget(w, row, column + 1);
        ++m_nextCell;
    };
    for (auto [caption, edit] : {std::pair{QStringLiteral("读者类型"), m_type},
                                 std::pair{QStringLiteral("读者性别"), m_gender},
                                 std::pair{QStringLiteral("身份证号"), m_idNumber}}) {
        if (edit != m_idNumber) {
            edit->setReadOnly(true);
            edit->setFocusPolicy(Qt::ClickFocus);
        }
        m_fields.insert(caption, edit);
        place(caption, edit);
    }

    m_photo->setObjectName(QStringLiteral("读者照片"));
    m_photo->setFixedSize(96, 120);
    m_photo->setFrameShape(QFrame::StyledPanel);
    m_photo->setAlignment(Qt::AlignCenter);
    m_photo->setScaledContents(true);
    auto* photoBox = new QVBoxLayout;
    auto* photoTitle = new QLabel(QStringLiteral("读者照片"), this);
    photoTitle->setAlignment(Qt::AlignCenter);
    photoBox->addWidget(photoTitle);
    photoBox->addWidget(m_photo);
    photoBox->addStretch();

    auto* outer = new QHBoxLayout(this);
    outer->addLayout(m_grid, 1);
    outer->addLayout(photoBox);
    m_grid->setColumnStretch(1, 1);
    m_grid->setColumnStretch(3, 1);

    connect(m_number, &QLineEdit::returnPressed, this, &ReaderPanel::lookupRequested);
    connect(m_pick, &QToolButton::clicked, this, &ReaderPanel::pickReader);
    connect(idCard, &QPushButton::clicked, this, &ReaderPanel::readIdCard);
}

QLineEdit* ReaderPanel::field(const QString& caption) const {
    return m_fields.value(caption);
}

QLineEdit* ReaderPanel::addField(const QString& caption, const QString& unit) {
    auto* edit = new QLineEdit(this);
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::ClickFocus);
    const QString key = unit.isEmpty() ? caption : caption + unit;
    edit->setObjectName(key);
    m_fields.insert(key, edit);
    m_extra << edit;
    QWidget* w = edit;
    if (!unit.isEmpty()) {
        w = new QWidget(this);
        auto* row = new QHBoxLayout(w);
        row->setContentsMargins(0, 0, 0, 0);
        row->addWidget(edit, 1);
        row->addWidget(new QLabel(unit, w));
    }
    const int row = m_nextCell / fieldColumns, column = (m_nextCell % fieldColumns) * 2;
    m_grid->addWidget(new QLabel(caption, this), row, column);
    m_grid->addWidget(w, row, column + 1);
    ++m_nextCell;
    return edit;
}

QToolButton* ReaderPanel::addButton(const QString& tip) {
    auto* b = new QToolButton(this);
    b->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    b->setToolTip(tip);
    b->setFocusPolicy(Qt::NoFocus);
    static_cast<QHBoxLayout*>(m_grid->itemAtPosition(0, 1)->layout())->addWidget(b);
    return b;
}

QString ReaderPanel::number() const {
    return m_number->text().trimmed();
}

void ReaderPanel::showReader(const Reader& r) {
    if (m_nameChoice)
        m_nameChoice->setEditText(r.name);
    else
        m_name->setText(r.name);
    m_gender->setText(r.gender);
    m_type->setText(r.type);
    m_idNumber->setText(r.idNumber);
    setPhoto(r.photo);
}

void ReaderPanel::clearReader() {
    if (m_nameChoice)
        m_nameChoice->setEditText({});
    else
        m_name->clear();
    m_gender->clear();
    m_type->clear();
    m_idNumber->clear();
    for (QLineEdit* e : std::as_const(m_extra))
        e->clear();
    setPhoto({});
}

void ReaderPanel::clearAll() {
    m_number->clear();
    clearReader();
}

void ReaderPanel::reloadNames() {
    if (!m_nameChoice)
        return;
    m_nameChoice->clear();
    try {
        m_nameChoice->addItems(readerNames(m_db));
    } catch (const DatabaseError& e) {
        showError(window(), e.message());
    }
    m_nameChoice->setCurrentIndex(-1);
    m_nameChoice->setEditText({});
}

void ReaderPanel::setPhoto(const QByteArray& jpeg) {
    const QImage image = photoImage(jpeg);
    m_photo->setPixmap(image.isNull() ? QPixmap() : QPixmap::fromImage(image));
}

void ReaderPanel::pickReader() {
    const std::optional<QString> chosen = PickList::pick(m_db, readerPickList(), m_number);
    if (!chosen)
        return;
    m_number->setText(*chosen);
    emit lookupRequested();
}

void ReaderPanel::readIdCard() {
    const IdCardRead r = cangshu::readIdCard(m_idCard, [] { QApplication::beep(); });
    if (!r.read) {
        if (!r.outcome.message.isEmpty())
            showNotice(window(), r.outcome.message);
        return;
    }
    m_idNumber->setText(r.card.idNumber.trimmed());
    try {
        if (const std::optional<Reader> reader =
                findReaderByIdNumber(m_db, r.card.idNumber.trimmed())) {
            m_number->setText(reader->number);
            emit lookupRequested();
        }
    } catch (const DatabaseError& e) {
        showError(window(), e.message());
    }
}

void ReaderPanel::chooseName(const QString& name) {
    try {
        if (const std::optional<QString> number = readerNumberByName(m_db, name)) {
            m_number->setText(*number);
            emit lookupRequested();
        }
    } catch (const DatabaseError& e) {
        showError(window(), e.message());
    }
}

} // namespace cangshu
