#include "FineWindow.h"

#include "readers/CardDevices.h"
#include "widgets/Messages.h"
#include "widgets/PickList.h"

#include <QDateEdit>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace cangshu {

namespace {
QLineEdit* displayBox(QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::ClickFocus);
    return box;
}
} // namespace

FineWindow::FineWindow(Database& db, QWidget* parent)
    : QDialog(parent), m_db(db), m_number(new QLineEdit(this)), m_pick(new QPushButton(this)),
      m_name(displayBox(this)), m_gender(displayBox(this)), m_type(displayBox(this)),
      m_idNumber(new QLineEdit(this)), m_photo(new QLabel(this)), m_amount(new QLineEdit(this)),
      m_title(new QLineEdit(this)), m_date(new QDateEdit(this)),
      m_deduct(new QPushButton(QStringLiteral("从押金里扣"), this)),
      m_note(new QPlainTextEdit(this)), m_ok(new QPushButton(QStringLiteral("确定"), this)) {
    setWindowTitle(QStringLiteral("丢失罚款"));

    auto* readerGroup = new QGroupBox(QStringLiteral("读者信息"), this);
    auto* readerForm = new QFormLayout;
    auto* numberRow = new QHBoxLayout;
    numberRow->addWidget(m_number, 1);
    m_pick->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    m_pick->setToolTip(QStringLiteral("选择读者"));
    m_pick->setAutoDefault(false);
    m_pick->setFocusPolicy(Qt::NoFocus);
    numberRow->addWidget(m_pick);
    auto* idCard = new QPushButton(QStringLiteral("读身份证"), this);
    idCard->setAutoDefault(false);
    idCard->setFocusPolicy(Qt::NoFocus);
    numberRow->addWidget(idCard);
    readerForm->addRow(QStringLiteral("读者编号："), numberRow);
    readerForm->addRow(QStringLiteral("读者姓名："), m_name);
    readerForm->addRow(QStringLiteral("读者性别："), m_gender);
    readerForm->addRow(QStringLiteral("读者类型："), m_type);
    readerForm->addRow(QStringLiteral("身份证号"), m_idNumber);
    m_photo->setFixedSize(110, 140);
    m_photo->setFrameShape(QFrame::StyledPanel);
    m_photo->setAlignment(Qt::AlignCenter);
    m_photo->setToolTip(QStringLiteral("读者照片"));
    auto* readerRow = new QHBoxLayout(readerGroup);
    readerRow->addLayout(readerForm, 1);
    readerRow->addWidget(m_photo, 0, Qt::AlignTop);

    auto* fineGroup = new QGroupBox(QStringLiteral("罚款信息"), this);
    auto* fineForm = new QFormLayout(fineGroup);
    fineForm->addRow(QStringLiteral("罚款金额："), m_amount);
    fineForm->addRow(QStringLiteral("书籍名称："), m_title);
    m_date->setCalendarPopup(true);
    m_date->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    auto* dateRow = new QHBoxLayout;
    dateRow->addWidget(m_date, 1);
    m_deduct->setAutoDefault(false);
    m_deduct->setEnabled(false);
    dateRow->addWidget(m_deduct);
    fineForm->addRow(QStringLiteral("罚款日期："), dateRow);

    auto* noteGroup = new QGroupBox(QStringLiteral("备注信息"), this);
    auto* noteLayout = new QVBoxLayout(noteGroup);
    m_note->setTabChangesFocus(true);
    m_note->setMinimumHeight(60);
    noteLayout->addWidget(m_note);

    auto* close = new QPushButton(QStringLiteral("关闭ESC"), this);
    close->setAutoDefault(false);
    m_ok->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(readerGroup);
    layout->addWidget(fineGroup);
    layout->addWidget(noteGroup, 1);
    layout->addLayout(buttons);

    connect(m_number, &QLineEdit::returnPressed, this, &FineWindow::lookup);
    // A number typed after the lookup is not the reader shown: drop the reader.
    connect(m_number, &QLineEdit::textEdited, this, [this] {
        if (m_reader)
            showReader(std::nullopt);
    });
    connect(m_pick, &QPushButton::clicked, this, &FineWindow::pickReader);
    connect(idCard, &QPushButton::clicked, this, &FineWindow::readIdCard);
    connect(m_amount, &QLineEdit::returnPressed, m_ok, qOverload<>(&QWidget::setFocus));
    connect(m_deduct, &QPushButton::clicked, this, &FineWindow::deductFromDeposit);
    connect(m_ok, &QPushButton::clicked, this, &FineWindow::save);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    setReaderPicker([this](QWidget*) {
        return PickList::pick(m_db, readerPickList(), m_number).value_or(QString());
    });
    setTabOrder(m_number, m_amount);
    setTabOrder(m_amount, m_title);
    setTabOrder(m_title, m_date);
    setTabOrder(m_date, m_note);
    setTabOrder(m_note, m_ok);
    resize(560, 560);
}

void FineWindow::setDepositHandOver(
    std::function<void(QWidget*, const DepositHandOver&)> handOver) {
    m_handOver = std::move(handOver);
    m_deduct->setEnabled(bool(m_handOver));
}

void FineWindow::setReaderPicker(std::function<QString(QWidget*)> picker) {
    m_picker = std::move(picker);
    m_pick->setVisible(bool(m_picker));
}

void FineWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    clear();
}

void FineWindow::clear() {
    m_number->clear();
    showReader(std::nullopt);
    m_idNumber->clear();
    m_amount->setText(QStringLiteral("0"));
    m_title->clear();
    m_date->setDate(m_db.today());
    m_note->clear();
    m_number->setFocus();
}

void FineWindow::showReader(const std::optional<Reader>& reader) {
    m_reader = reader;
    m_name->setText(reader ? reader->name : QString());
    m_gender->setText(reader ? reader->gender : QString());
    m_type->setText(reader ? reader->type : QString());
    if (reader)
        m_idNumber->setText(reader->idNumber);
    QPixmap photo;
    if (reader && !reader->photo.isEmpty())
        photo.loadFromData(reader->photo);
    m_photo->setPixmap(photo.isNull() ? QPixmap()
                                      : photo.scaled(m_photo->size(), Qt::IgnoreAspectRatio,
                                                     Qt::SmoothTransformation));
}

void FineWindow::focusField(const QString& focus) {
    if (focus == focus::amount) {
        m_amount->setFocus();
        m_amount->selectAll();
    } else {
        m_number->setFocus();
        m_number->selectAll();
    }
}

bool FineWindow::lookup() {
    try {
        const ReaderCheck check = lookupReaderForFine(m_db, m_number->text());
        if (!check.passed()) {
            showReader(std::nullopt);
            showNotice(this, check.outcome.message);
            focusField(focus::reader);
            return false;
        }
        showReader(check.reader);
    } catch (const DatabaseError& e) {
        showError(this, e.message());
        return false;
    }
    m_amount->setFocus();
    m_amount->selectAll();
    return true;
}

void FineWindow::readIdCard() {
    const IdCardRead read = cangshu::readIdCard(m_idCard);
    if (!read.read) {
        if (!read.outcome.message.isEmpty())
            showNotice(this, read.outcome.message);
        return;
    }
    m_idNumber->setText(read.card.idNumber);
    try {
        if (const auto reader = findReaderByIdNumber(m_db, read.card.idNumber)) {
            m_number->setText(reader->number);
            lookup();
        }
    } catch (const DatabaseError& e) {
        showError(this, e.message());
    }
}

void FineWindow::pickReader() {
    if (!m_picker)
        return;
    const QString number = m_picker(this);
    if (number.isEmpty())
        return;
    m_number->setText(number);
    lookup();
}

FineRequest FineWindow::request() const {
    // Only the reader the lookup found counts, never the text typed since.
    return {m_reader ? m_reader->number : QString(), m_amount->text(), m_title->text(),
            m_date->date(), m_note->toPlainText()};
}

bool FineWindow::save() {
    try {
        const Outcome outcome = recordFine(m_db, request());
        if (!outcome.ok) {
            showNotice(this, outcome.message);
            focusField(outcome.focus);
            return false;
        }
        showSuccess(this, outcome.message);
    } catch (const DatabaseError& e) {
        showError(this, e.message());
        return false;
    }
    accept();
    return true;
}

bool FineWindow::deductFromDeposit() {
    const FineRequest r = request();
    const Outcome checked = checkFine(r);
    if (!checked.ok) {
        showNotice(this, checked.message);
        focusField(checked.focus);
        return false;
    }
    if (!m_handOver)
        return false;
    m_handOver(this, {r.readerNumber, r.amountText.trimmed(),
                      QStringLiteral("丢失罚款,书名:") + r.itemTitle});
    return true;
}

} // namespace cangshu
