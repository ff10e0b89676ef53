#include "DepositWindow.h"

#include "readers/CardDevices.h"
#include "readers/Photos.h"
#include "widgets/Messages.h"
#include "widgets/PickList.h"

#include <QApplication>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace cangshu {

DepositWindow::DepositWindow(Database& db, QWidget* parent)
    : QDialog(parent), m_db(db), m_number(new QLineEdit(this)), m_name(new QLineEdit(this)),
      m_type(new QLineEdit(this)), m_balance(new QLineEdit(this)), m_idNumber(new QLineEdit(this)),
      m_photo(new QLabel(this)), m_payIn(new QRadioButton(QStringLiteral("充押金"), this)),
      m_deduct(new QRadioButton(QStringLiteral("扣押金"), this)), m_amount(new QLineEdit(this)),
      m_date(new QDateEdit(this)), m_operatorField(new QLineEdit(this)),
      m_note(new QPlainTextEdit(this)) {
    setWindowTitle(QStringLiteral("读者充扣押金"));
    auto* group = new QGroupBox(QStringLiteral("读者信息"), this);
    auto* grid = new QGridLayout(group);

    auto* pick = new QToolButton(group);
    pick->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    pick->setToolTip(QStringLiteral("选择读者"));
    pick->setFocusPolicy(Qt::NoFocus);
    auto* idCard = new QPushButton(QStringLiteral("读身份证"), group);
    idCard->setAutoDefault(false);
    idCard->setFocusPolicy(Qt::NoFocus);
    auto* numberRow = new QHBoxLayout;
    numberRow->addWidget(m_number, 1);
    numberRow->addWidget(pick);
    numberRow->addWidget(idCard);

    for (QLineEdit* e : {m_name, m_type, m_balance, m_operatorField}) {
        e->setReadOnly(true);
        e->setFocusPolicy(Qt::ClickFocus);
    }
    m_number->setObjectName(QStringLiteral("readerNumber"));
    m_amount->setObjectName(QStringLiteral("amount"));
    m_balance->setText(QStringLiteral("0"));
    m_date->setCalendarPopup(true);
    m_date->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    m_payIn->setChecked(true);
    m_note->setTabChangesFocus(true);
    m_note->setFixedHeight(60);

    int row = 0;
    auto add = [&](const QString& caption, QWidget* w) {
        grid->addWidget(new QLabel(caption, group), row, 0);
        grid->addWidget(w, row++, 1);
    };
    auto* numberWidget = new QWidget(group);
    numberWidget->setLayout(numberRow);
    numberRow->setContentsMargins(0, 0, 0, 0);
    add(QStringLiteral("读者编号："), numberWidget);
    add(QStringLiteral("读者姓名："), m_name);
    add(QStringLiteral("读者类型："), m_type);
    add(QStringLiteral("读者押金："), m_balance);
    add(QStringLiteral("身份证号:"), m_idNumber);
    auto* direction = new QWidget(group);
    auto* directionRow = new QHBoxLayout(direction);
    directionRow->setContentsMargins(0, 0, 0, 0);
    directionRow->addWidget(m_payIn);
    directionRow->addWidget(m_deduct);
    directionRow->addStretch();
    add(QString(), direction);
    add(QStringLiteral("充扣金额："), m_amount);
    add(QStringLiteral("充扣日期："), m_date);
    add(QStringLiteral("操 作 员："), m_operatorField);
    add(QStringLiteral("备    注："), m_note);

    m_photo->setFixedSize(96, 120);
    m_photo->setFrameShape(QFrame::StyledPanel);
    m_photo->setScaledContents(true);
    auto* photoBox = new QVBoxLayout;
    photoBox->addWidget(new QLabel(QStringLiteral("读者照片"), group));
    photoBox->addWidget(m_photo);
    photoBox->addStretch();
    grid->addLayout(photoBox, 0, 2, 5, 1);
    grid->setColumnStretch(1, 1);

    auto* ok = new QPushButton(QStringLiteral("确定(&E)"), this);
    auto* close = new QPushButton(QStringLiteral("关闭(&C)"), this);
    ok->setObjectName(QStringLiteral("确定"));
    for (QPushButton* b : {ok, close})
        b->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons);

    connect(m_number, &QLineEdit::returnPressed, this, &DepositWindow::queryReader);
    connect(pick, &QToolButton::clicked, this, &DepositWindow::pickReader);
    connect(idCard, &QPushButton::clicked, this, &DepositWindow::readIdCard);
    connect(ok, &QPushButton::clicked, this, &DepositWindow::record);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

void DepositWindow::setOperatorName(const QString& name) {
    m_operator = name;
    m_operatorField->setText(name);
}

void DepositWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    m_operatorField->setText(m_operator);
    m_date->setDate(m_db.today());
}

void DepositWindow::focusOn(const QString& field) {
    QLineEdit* target = field == focus::amount ? m_amount : m_number;
    target->setFocus();
    target->selectAll();
}

bool DepositWindow::queryReader() {
    ReaderCheck check;
    try {
        check = lookupReaderForDeposit(m_db, m_number->text());
    } catch (const DatabaseError& e) {
        showError(this, e.message());
        return false;
    }
    if (!check.passed()) {
        m_queried.reset();
        showNotice(this, check.outcome.message);
        focusOn(focus::reader);
        return false;
    }
    const Reader& r = *check.reader;
    m_queried = r.number;
    m_number->setText(r.number);
    m_name->setText(r.name);
    m_type->setText(r.type);
    m_balance->setText(r.deposit.toString());
    m_idNumber->setText(r.idNumber);
    const QImage photo = photoImage(r.photo);
    m_photo->setPixmap(photo.isNull() ? QPixmap() : QPixmap::fromImage(photo));
    m_amount->setFocus();
    return true;
}

void DepositWindow::prefill(const QString& readerNumber, DepositDirection direction,
                            const QString& amount, const QString& note) {
    m_number->setText(readerNumber);
    queryReader();
    (direction == DepositDirection::Deduct ? m_deduct : m_payIn)->setChecked(true);
    m_amount->setText(amount);
    m_note->setPlainText(note);
}

bool DepositWindow::record() {
    DepositRequest request;
    request.readerNumber = m_number->text().trimmed();
    request.direction = m_deduct->isChecked() ? DepositDirection::Deduct : DepositDirection::PayIn;
    request.amountText = m_amount->text();
    request.date = m_date->date();
    request.note = m_note->toPlainText();
    request.operatorName = m_operator;
    // Only the reader shown may be charged: a number typed since the query is not vetted.
    if (!m_queried || *m_queried != request.readerNumber) {
        showNotice(this, QStringLiteral("请先输入读者编号！"));
        focusOn(focus::reader);
        return false;
    }
    const Outcome checked = checkDeposit(request);
    if (!checked.ok) {
        showNotice(this, checked.message);
        focusOn(checked.focus);
        return false;
    }
    const QString question = request.direction == DepositDirection::Deduct
                                 ? QStringLiteral("是否确定扣押金？")
                                 : QStringLiteral("是否确定充押金？");
    if (!askYesNo(this, question, QStringLiteral("提示")))
        return false;
    Outcome done;
    try {
        done = recordDeposit(m_db, request);
    } catch (const DatabaseError& e) {
        showError(this, e.message());
        return false;
    }
    if (!done.ok) {
        showNotice(this, done.message);
        focusOn(done.focus);
        return false;
    }
    showSuccess(this, done.message);
    clearFields();
    accept();
    return true;
}

void DepositWindow::clearFields() {
    m_queried.reset();
    for (QLineEdit* e : {m_number, m_name, m_type, m_idNumber, m_amount})
        e->clear();
    m_balance->setText(QStringLiteral("0"));
    m_note->clear();
    m_payIn->setChecked(true);
    m_operatorField->setText(m_operator);
    m_photo->setPixmap(QPixmap());
}

void DepositWindow::pickReader() {
    if (const std::optional<QString> chosen = PickList::pick(m_db, readerPickList(), m_number)) {
        m_number->setText(*chosen);
        queryReader();
    }
}

void DepositWindow::readIdCard() {
    const IdCardRead r = cangshu::readIdCard(m_idCard, [] { QApplication::beep(); });
    if (!r.read) {
        if (!r.outcome.message.isEmpty())
            showNotice(this, r.outcome.message);
        return;
    }
    m_idNumber->setText(r.card.idNumber.trimmed());
    try {
        if (const std::optional<Reader> reader =
                findReaderByIdNumber(m_db, r.card.idNumber.trimmed())) {
            m_number->setText(reader->number);
            queryReader();
        }
    } catch (const DatabaseError& e) {
        showError(this, e.message());
    }
}

} // namespace cangshu
