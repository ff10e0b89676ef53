#include "ReaderEditor.h"

#include "CameraWindow.h"
#include "ReaderTypesWindow.h"
#include "core/Dictionary.h"
#include "core/Numbering.h"
#include "readers/Photos.h"
#include "shell/ui/NumberSettingsWindow.h"
#include "widgets/Messages.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace cangshu {

namespace {

const QDate noDate(1900, 1, 1); // a date editor at its minimum shows and means "no date"

const QString unlimitedColumn = QStringLiteral("无限制");
const QString expiryColumn = QStringLiteral("截止日期");

QDate dateOf(const QDateEdit* e) {
    return e->date() == noDate ? QDate() : e->date();
}

} // namespace

ReaderEditor::ReaderEditor(const ReadersUiContext& context, QWidget* parent)
    : QDialog(parent), m_context(context) {
    // No close box: leaving goes through "取消退出(&C)" or Esc.
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint);
    buildUi();
    startNew();
}

QLineEdit* ReaderEditor::lineEdit(const QString& column) const {
    return qobject_cast<QLineEdit*>(m_fields.value(column));
}
QComboBox* ReaderEditor::comboBox(const QString& column) const {
    return qobject_cast<QComboBox*>(m_fields.value(column));
}
QDateEdit* ReaderEditor::dateEdit(const QString& column) const {
    return qobject_cast<QDateEdit*>(m_fields.value(column));
}
QPushButton* ReaderEditor::button(const QString& caption) const {
    return findChild<QPushButton*>(caption);
}

void ReaderEditor::buildUi() {
    auto* form = new QFormLayout;
    const auto makeButton = [this](const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(caption);
        b->setAutoDefault(false);
        return b;
    };
    const auto line = [&](const QString& column) {
        auto* e = new QLineEdit(this);
        m_fields.insert(column, e);
        return e;
    };
    const auto combo = [&](const QString& column, const QStringList& items, bool editable) {
        auto* c = new QComboBox(this);
        c->setEditable(editable);
        c->addItems(items);
        m_fields.insert(column, c);
        return c;
    };
    const auto date = [&](const QString& column) {
        auto* d = new QDateEdit(this);
        d->setCalendarPopup(true);
        d->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        d->setMinimumDate(noDate);
        d->setSpecialValueText(QStringLiteral(" "));
        m_fields.insert(column, d);
        return d;
    };
    const auto withButtons = [&](QWidget* field, std::initializer_list<QPushButton*> buttons) {
        auto* row = new QHBoxLayout;
        field->setMinimumWidth(200);
        row->addWidget(field, 1);
        for (QPushButton* b : buttons) {
            b->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
            row->addWidget(b);
        }
        return row;
    };

    QPushButton* issue = makeButton(QStringLiteral("自动编号"));
    QPushButton* read = makeButton(QStringLiteral("读卡"));
    QPushButton* write = makeButton(QStringLiteral("写卡"));
    form->addRow(QStringLiteral("读者编号："),
                 withButtons(line(QStringLiteral("读者编号")), {issue, read, write}));
    QPushButton* idCard = makeButton(QStringLiteral("读身份证"));
    form->addRow(QStringLiteral("身份证号："),
                 withButtons(line(QStringLiteral("身份证号")), {idCard}));
    form->addRow(QStringLiteral("读者姓名："), line(QStringLiteral("读者姓名")));
    QPushButton* types = makeButton(QStringLiteral("…"));
    types->setMaximumWidth(40);
    types->setToolTip(QStringLiteral("选择读者类型"));
    form->addRow(QStringLiteral("读者类型："),
                 withButtons(line(QStringLiteral("读者类型")), {types}));
    QComboBox* gender =
        combo(QStringLiteral("读者性别"), {QStringLiteral("男"), QStringLiteral("女")}, false);
    form->addRow(QStringLiteral("读者性别："), gender);
    QComboBox* department = combo(QStringLiteral("单位部门"), {}, true);
    form->addRow(QStringLiteral("单位部门："), department);
    form->addRow(QStringLiteral("押金金额："), line(QStringLiteral("押金金额")));
    form->addRow(QStringLiteral("出生日期："), date(QStringLiteral("出生日期")));
    form->addRow(QStringLiteral("办证日期："), date(QStringLiteral("办证日期")));
    QComboBox* unlimited =
        combo(unlimitedColumn, {QStringLiteral("否"), QStringLiteral("是")}, false);
    form->addRow(QStringLiteral("无截止日期："), unlimited);
    form->addRow(QStringLiteral("截止日期："), date(expiryColumn));
    form->addRow(QStringLiteral("联系电话："), line(QStringLiteral("联系电话")));
    form->addRow(QStringLiteral("电子邮件："), line(QStringLiteral("电子邮件")));
    form->addRow(QStringLiteral("联系地址："), line(QStringLiteral("联系地址")));
    form->addRow(QStringLiteral("读者状态："),
                 combo(QStringLiteral("读者状态"),
                       {QStringLiteral("正常"), QStringLiteral("挂失"), QStringLiteral("注销")},
                       false));
    m_remarks = new QPlainTextEdit(this);
    m_remarks->setTabChangesFocus(true);
    m_remarks->setMaximumHeight(70);
    m_fields.insert(QStringLiteral("备注信息"), m_remarks);
    form->addRow(QStringLiteral("备注信息："), m_remarks);

    m_photoLabel = new QLabel(QStringLiteral("此处为照片"), this);
    m_photoLabel->setFixedSize(150, 200);
    m_photoLabel->setAlignment(Qt::AlignCenter);
    m_photoLabel->setFrameShape(QFrame::Box);
    QPushButton* pickPhoto = makeButton(QStringLiteral("选择照片"));
    QPushButton* dropPhoto = makeButton(QStringLiteral("取消照片"));
    QPushButton* camera = makeButton(QStringLiteral("视频照相"));
    auto* photoColumn = new QVBoxLayout;
    photoColumn->addWidget(m_photoLabel);
    photoColumn->addWidget(pickPhoto);
    photoColumn->addWidget(dropPhoto);
    photoColumn->addWidget(camera);
    photoColumn->addStretch();

    QPushButton* save = makeButton(QStringLiteral("保存信息(&S)"));
    QPushButton* cancel = makeButton(QStringLiteral("取消退出(&C)"));
    QPushButton* widths = makeButton(QStringLiteral("设置编号宽度"));
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(widths);
    bottom->addStretch();
    bottom->addWidget(save);
    bottom->addWidget(cancel);

    auto* top = new QHBoxLayout;
    top->addLayout(form, 1);
    top->addLayout(photoColumn);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(bottom);

    connect(issue, &QPushButton::clicked, this, &ReaderEditor::issueNumber);
    connect(read, &QPushButton::clicked, this, &ReaderEditor::readCard);
    connect(write, &QPushButton::clicked, this, &ReaderEditor::writeCard);
    connect(idCard, &QPushButton::clicked, this, &ReaderEditor::readIdCard);
    connect(types, &QPushButton::clicked, this, &ReaderEditor::chooseType);
    connect(gender, &QComboBox::activated, this,
            [this] { focusField(QStringLiteral("单位部门")); });
    connect(department, &QComboBox::activated, this,
            [this] { focusField(QStringLiteral("押金金额")); });
    connect(unlimited, &QComboBox::activated, this,
            [this, unlimited] { setUnlimitedCard(unlimited->currentText()); });
    connect(pickPhoto, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getOpenFileName(
            this, QStringLiteral("选择照片"), m_context.home.coverFolder(),
            QStringLiteral(
                "All (*.jpg *.jpeg);;JPEG Image File (*.jpg);;JPEG Image File (*.jpeg)"));
        if (!path.isEmpty())
            choosePhotoFile(path);
    });
    connect(dropPhoto, &QPushButton::clicked, this, &ReaderEditor::clearPhoto);
    connect(camera, &QPushButton::clicked, this, &ReaderEditor::openCamera);
    connect(save, &QPushButton::clicked, this, &ReaderEditor::save);
    connect(cancel, &QPushButton::clicked, this, &ReaderEditor::reject);
    connect(widths, &QPushButton::clicked, this, &ReaderEditor::openNumberSettings);

    // Up and Down walk the fields in the form's order.
    const QStringList chain{
        QStringLiteral("读者编号"), QStringLiteral("身份证号"), QStringLiteral("读者姓名"),
        QStringLiteral("读者类型"), QStringLiteral("读者性别"), QStringLiteral("押金金额"),
        QStringLiteral("出生日期"), QStringLiteral("办证日期"), unlimitedColumn,
        QStringLiteral("联系电话"), QStringLiteral("电子邮件"), QStringLiteral("联系地址"),
        QStringLiteral("读者状态")};
    for (int i = 0; i < chain.size(); ++i)
        m_arrows.insert(m_fields.value(chain[i]),
                        {i > 0 ? m_fields.value(chain[i - 1]) : nullptr,
                         i + 1 < chain.size() ? m_fields.value(chain[i + 1]) : nullptr});
    m_arrows[m_fields.value(QStringLiteral("押金金额"))].first =
        m_fields.value(QStringLiteral("单位部门"));
    m_arrows.insert(m_fields.value(expiryColumn),
                    {m_fields.value(unlimitedColumn), m_fields.value(QStringLiteral("联系电话"))});

    const QString aqua = QStringLiteral(":focus { background-color: aqua; }");
    for (const QString& c :
         {QStringLiteral("押金金额"), QStringLiteral("出生日期"), QStringLiteral("办证日期"),
          unlimitedColumn, expiryColumn, QStringLiteral("联系电话"), QStringLiteral("电子邮件"),
          QStringLiteral("联系地址"), QStringLiteral("读者状态")}) {
        QWidget* w = m_fields.value(c);
        w->setStyleSheet(QString::fromLatin1(w->metaObject()->className()) + aqua);
    }
    // Keys reach the edit box inside a drop-down or date editor first: watch those too.
    for (QWidget* w : std::as_const(m_fields)) {
        w->installEventFilter(this);
        for (QLineEdit* inner : w->findChildren<QLineEdit*>())
            inner->installEventFilter(this);
    }
}

bool ReaderEditor::eventFilter(QObject* watched, QEvent* event) {
    QWidget* w = qobject_cast<QWidget*>(watched);
    if (event->type() == QEvent::MouseButtonDblClick && w == field(QStringLiteral("读者编号"))) {
        issueNumber();
        return true;
    }
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() & (Qt::AltModifier | Qt::ControlModifier))
            return QDialog::eventFilter(watched, event);
        // An edit box inside a field stands for the field.
        const QList<QWidget*> fields = m_fields.values();
        if (w && !fields.contains(w) && fields.contains(w->parentWidget()))
            w = w->parentWidget();
        const auto arrows = m_arrows.constFind(w);
        if (arrows != m_arrows.constEnd() &&
            (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down)) {
            QWidget* next = key->key() == Qt::Key_Up ? arrows->first : arrows->second;
            if (next && next->isEnabled())
                next->setFocus();
            else if (next == m_fields.value(expiryColumn)) // disabled: skip it
                focusField(QStringLiteral("联系电话"));
            return true;
        }
        // Enter in a one-line field moves on, so that a scanner's Enter does not save.
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && w != m_remarks &&
            fields.contains(w)) {
            focusNextChild();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void ReaderEditor::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    m_savedNumber.clear();
    focusField(QStringLiteral("读者编号"));
}

void ReaderEditor::focusField(const QString& column) {
    if (QWidget* w = m_fields.value(column)) {
        w->setFocus();
        if (auto* e = qobject_cast<QLineEdit*>(w))
            e->selectAll();
    }
}

void ReaderEditor::fill(const ReaderRecord& r) {
    m_record = r;
    QComboBox* department = comboBox(QStringLiteral("单位部门"));
    department->clear();
    try {
        department->addItems(dictionaryValues(*m_context.db, QStringLiteral("单位部门")));
    } catch (const DatabaseError&) {
        // An older database without the dictionary: the department is typed.
    }
    lineEdit(QStringLiteral("读者编号"))->setText(r.number);
    lineEdit(QStringLiteral("身份证号"))->setText(r.idNumber);
    lineEdit(QStringLiteral("读者姓名"))->setText(r.name);
    lineEdit(QStringLiteral("读者类型"))->setText(r.type);
    comboBox(QStringLiteral("读者性别"))->setCurrentIndex(r.gender == QStringLiteral("女") ? 1 : 0);
    department->setCurrentText(r.department);
    lineEdit(QStringLiteral("押金金额"))->setText(r.deposit);
    const auto setDate = [this](const QString& column, const QDate& d) {
        dateEdit(column)->setDate(d.isValid() ? d : noDate);
    };
    setDate(QStringLiteral("出生日期"), r.birth);
    setDate(QStringLiteral("办证日期"), r.registered);
    setDate(expiryColumn, r.expiry);
    comboBox(unlimitedColumn)
        ->setCurrentText(r.unlimitedCard == QStringLiteral("否") ? QStringLiteral("否")
                                                                 : QStringLiteral("是"));
    dateEdit(expiryColumn)->setEnabled(r.unlimitedCard == QStringLiteral("否"));
    lineEdit(QStringLiteral("联系电话"))->setText(r.phone);
    lineEdit(QStringLiteral("电子邮件"))->setText(r.email);
    lineEdit(QStringLiteral("联系地址"))->setText(r.address);
    QComboBox* status = comboBox(QStringLiteral("读者状态"));
    status->setCurrentIndex(qMax(0, status->findText(r.status)));
    m_remarks->setPlainText(r.remarks);
    setPhoto(r.image);
}

ReaderRecord ReaderEditor::collect() const {
    ReaderRecord r = m_record;
    r.number = lineEdit(QStringLiteral("读者编号"))->text().trimmed();
    r.idNumber = lineEdit(QStringLiteral("身份证号"))->text().trimmed();
    r.name = lineEdit(QStringLiteral("读者姓名"))->text();
    r.type = lineEdit(QStringLiteral("读者类型"))->text().trimmed();
    r.gender = comboBox(QStringLiteral("读者性别"))->currentText();
    r.department = comboBox(QStringLiteral("单位部门"))->currentText().trimmed();
    r.deposit = lineEdit(QStringLiteral("押金金额"))->text().trimmed();
    r.birth = dateOf(dateEdit(QStringLiteral("出生日期")));
    r.registered = dateOf(dateEdit(QStringLiteral("办证日期")));
    r.unlimitedCard = comboBox(unlimitedColumn)->currentText();
    r.expiry = dateOf(dateEdit(expiryColumn));
    r.phone = lineEdit(QStringLiteral("联系电话"))->text().trimmed();
    r.email = lineEdit(QStringLiteral("电子邮件"))->text().trimmed();
    r.address = lineEdit(QStringLiteral("联系地址"))->text().trimmed();
    r.status = comboBox(QStringLiteral("读者状态"))->currentText();
    r.remarks = m_remarks->toPlainText();
    r.image = m_photo;
    return r;
}

void ReaderEditor::startNew() {
    m_new = true;
    setWindowTitle(QStringLiteral("添加新读者"));
    fill(newReaderRecord(m_context.db->today()));
    focusField(QStringLiteral("读者编号"));
}

bool ReaderEditor::startEdit(const QString& number) {
    std::optional<ReaderRecord> r;
    try {
        r = loadReaderRecord(*m_context.db, number);
    } catch (const DatabaseError& e) {
        showError(this, e.message());
        return false;
    }
    if (!r)
        return false;
    m_new = false;
    setWindowTitle(QStringLiteral("修改读者资料"));
    fill(*r);
    return true;
}

bool ReaderEditor::save() {
    const ReaderRecord r = collect();
    Outcome o;
    try {
        o = m_new ? saveNewReader(*m_context.db, r) : saveReaderChanges(*m_context.db, r);
    } catch (const DatabaseError& e) {
        showError(this, e.message());
        return false;
    }
    if (!o.ok) {
        if (o.message == QStringLiteral("读者编号已经存在！请重新输入！"))
            QMessageBox::critical(this, QStringLiteral("警告"), o.message);
        else if (o.focus.isEmpty())
            showError(this, o.message);
        else
            showNotice(this, o.message);
        focusField(o.focus.isEmpty() ? QStringLiteral("读者编号") : o.focus);
        return false;
    }
    m_savedNumber = r.number;
    if (!m_new) {
        showSuccess(this, o.message);
        closeCamera();
        accept();
        return true;
    }
    if (askInformation(this, o.message)) {
        startNew();
    } else {
        closeCamera();
        accept();
    }
    return true;
}

void ReaderEditor::issueNumber() {
    try {
        lineEdit(QStringLiteral("读者编号"))
            ->setText(Numbering(*m_context.db).nextNumber(NumberKind::Reader));
    } catch (const DatabaseError& e) {
        showError(this, e.message());
    }
}

void ReaderEditor::chooseType() {
    ReaderTypesWindow types(*m_context.db, this);
    types.setChooser(true);
    types.exec();
    if (types.chosen())
        lineEdit(QStringLiteral("读者类型"))->setText(types.currentName());
}

void ReaderEditor::setUnlimitedCard(const QString& choice) {
    comboBox(unlimitedColumn)->setCurrentText(choice);
    const bool ends = choice != QStringLiteral("是");
    dateEdit(expiryColumn)->setEnabled(ends);
    // The card is made valid from today, not from the day it was first issued.
    if (ends)
        dateEdit(expiryColumn)
            ->setDate(cardExpiryFrom(m_context.db->today(), m_context.cardYears()));
}

bool ReaderEditor::choosePhotoFile(const QString& path) {
    const auto bytes = photoFromFile(path);
    if (!bytes) {
        showNotice(this, QStringLiteral("照片格式不对！"));
        return false;
    }
    setPhoto(*bytes);
    return true;
}

void ReaderEditor::clearPhoto() {
    setPhoto({});
}

void ReaderEditor::setPhoto(const QByteArray& jpeg) {
    m_photo = jpeg;
    const QImage image = photoImage(jpeg);
    if (image.isNull()) {
        m_photoLabel->setPixmap({});
        m_photoLabel->setText(QStringLiteral("此处为照片"));
        return;
    }
    m_photoLabel->setPixmap(QPixmap::fromImage(image).scaled(
        m_photoLabel->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void ReaderEditor::openCamera() {
    if (lineEdit(QStringLiteral("读者编号"))->text().trimmed().isEmpty()) {
        showNotice(this, QStringLiteral("请先输入读者编号！"));
        focusField(QStringLiteral("读者编号"));
        return;
    }
    CameraWindow* camera = m_context.camera ? m_context.camera() : nullptr;
    if (!camera) {
        showNotice(this, QStringLiteral("照相机不可用！"));
        return;
    }
    camera->setCaller({CameraUse::Reader,
                       [this] { return lineEdit(QStringLiteral("读者编号"))->text(); },
                       [this] { focusField(QStringLiteral("读者编号")); },
                       [this](const SavedFrame& frame) { setPhoto(frame.jpeg); }});
    if (const QScreen* screen = this->screen())
        camera->move(screen->availableGeometry().topLeft());
    camera->show();
    camera->raise();
}

void ReaderEditor::closeCamera() {
    CameraWindow* camera = m_context.camera ? m_context.camera() : nullptr;
    if (!camera)
        return;
    camera->setCaller({}); // a late frame must not reach a closed editor
    camera->stopVideo();
    camera->hide();
}

bool ReaderEditor::readIdCard() {
    const IdCardRead r = cangshu::readIdCard(m_context.cards ? m_context.cards->id.get() : nullptr,
                                             [] { QApplication::beep(); });
    if (!r.read) {
        if (!r.outcome.message.isEmpty())
            showNotice(this, r.outcome.message);
        return false;
    }
    lineEdit(QStringLiteral("读者姓名"))->setText(r.card.name);
    lineEdit(QStringLiteral("身份证号"))->setText(r.card.idNumber);
    if (r.card.sex == QStringLiteral("男") || r.card.sex == QStringLiteral("女"))
        comboBox(QStringLiteral("读者性别"))->setCurrentText(r.card.sex);
    const QDate birth = parseCardDate(r.card.birth);
    if (birth.isValid())
        dateEdit(QStringLiteral("出生日期"))->setDate(birth);
    lineEdit(QStringLiteral("联系地址"))->setText(r.card.address);
    m_record.photoFile = r.card.photoFile;
    if (const auto photo = photoFromFile(r.card.photoFile))
        setPhoto(*photo);
    return true;
}

bool ReaderEditor::readCard() {
    const IcCardRead r = readIcCard(m_context.cards ? m_context.cards->ic.get() : nullptr);
    if (!r.outcome.ok) {
        showError(this, r.outcome.message);
        return false;
    }
    lineEdit(QStringLiteral("读者编号"))->setText(r.text);
    return true;
}

bool ReaderEditor::writeCard() {
    const Outcome o = writeIcCard(m_context.cards ? m_context.cards->ic.get() : nullptr,
                                  lineEdit(QStringLiteral("读者编号"))->text().trimmed());
    if (o.ok)
        showSuccess(this, o.message);
    else
        showNotice(this, o.message);
    focusField(o.focus.isEmpty() ? QStringLiteral("读者编号") : o.focus);
    return o.ok;
}

void ReaderEditor::openNumberSettings() {
    NumberSettingsWindow settings(*m_context.db, this);
    settings.exec();
}

void ReaderEditor::reject() {
    closeCamera();
    QDialog::reject();
}

} // namespace cangshu
