#include "LibraryFixture.h"
#include "ModalAnswers.h"
#include "core/Config.h"
#include "readers/CardDevices.h"
#include "readers/ui/CameraWindow.h"
#include "readers/ui/CardReaderAtLogin.h"
#include "readers/ui/ReaderEditor.h"
#include "readers/ui/ReaderStatusWindow.h"
#include "readers/ui/ReaderTypesWindow.h"
#include "readers/ui/ReaderWindow.h"
#include "readers/ui/TwoLevelHeader.h"
#include "widgets/DataGrid.h"

#include <QCameraDevice>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMediaDevices>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

using namespace cangshu;
using namespace cangshu::test;

namespace {
void doubleClick(QAbstractItemView* view, const QModelIndex& index) {
    const QPoint at = view->visualRect(index).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
}
} // namespace

class ReaderWindowsTest : public LibraryTest {
protected:
    void SetUp() override {
        LibraryTest::SetUp();
        m_home = Home(temporaryFolder());
        m_context.db = &db();
        m_context.home = m_home;
        m_context.cardYears = [] { return 2; };
        m_context.cards = &m_cards;
    }
    QString statusOf(const QString& number) {
        return value(QStringLiteral("select [读者状态] from [读者资料] where [读者编号]=?"),
                     {number})
            .toString();
    }
    Home m_home;
    CardDevices m_cards;
    ReadersUiContext m_context;
};

TEST_P(ReaderWindowsTest, EditorRegistersAReaderFromTheKeyboard) {
    ReaderEditor editor(m_context);
    editor.startNew();
    editor.show();
    QLineEdit* number = editor.lineEdit(QStringLiteral("读者编号"));
    EXPECT_EQ(editor.windowTitle(), QStringLiteral("添加新读者"));
    EXPECT_FALSE(editor.dateEdit(QStringLiteral("截止日期"))->isEnabled());

    // Up and Down walk the form; Up from the deposit goes back to the department.
    QTest::keyClick(number, Qt::Key_Down);
    EXPECT_EQ(editor.focusWidget(), editor.field(QStringLiteral("身份证号")));
    QTest::keyClick(editor.field(QStringLiteral("押金金额")), Qt::Key_Up);
    QWidget* department = editor.field(QStringLiteral("单位部门"));
    EXPECT_TRUE(editor.focusWidget() == department ||
                editor.focusWidget()->parentWidget() == department);
    QTest::keyClick(editor.dateEdit(QStringLiteral("办证日期")), Qt::Key_Down);
    EXPECT_EQ(editor.focusWidget(), editor.field(QStringLiteral("无限制")));
    EXPECT_EQ(editor.dateEdit(QStringLiteral("办证日期"))->date(), today()); // not stepped

    {
        ModalAnswers answers;
        answers.button(QMessageBox::Ok);
        editor.lineEdit(QStringLiteral("读者姓名"))->insert(QStringLiteral("王小红"));
        editor.save(); // no number yet
        EXPECT_EQ(answers.texts, QStringList{QStringLiteral("请输入读者编号！")});
        EXPECT_EQ(editor.focusWidget(), number);
    }

    number->setFocus();
    QTest::mouseDClick(number, Qt::LeftButton); // a double-click issues the next number
    EXPECT_EQ(number->text(), QStringLiteral("00000001"));
    editor.lineEdit(QStringLiteral("读者类型"))->insert(QStringLiteral("学生"));
    editor.setUnlimitedCard(QStringLiteral("否"));
    EXPECT_TRUE(editor.dateEdit(QStringLiteral("截止日期"))->isEnabled());
    EXPECT_EQ(editor.dateEdit(QStringLiteral("截止日期"))->date(), today().addDays(730));

    {
        ModalAnswers answers;
        answers.button(QMessageBox::Yes); // continue with another reader
        EXPECT_TRUE(editor.save());
        EXPECT_EQ(answers.texts, QStringList{QStringLiteral("读者保存成功！是否继续添加新读者")});
        EXPECT_TRUE(number->text().isEmpty());
        EXPECT_TRUE(editor.isVisible());
        EXPECT_EQ(
            value(QStringLiteral("select [截止日期] from [读者资料] where [读者编号]='00000001'"))
                .toDate(),
            today().addDays(730));
        EXPECT_EQ(value(QStringLiteral("select [拼音] from [读者资料]")).toString(),
                  QStringLiteral("WXH"));
    }

    // The same number again is a duplicate, shown as a warning; nothing is stored.
    ModalAnswers duplicate;
    duplicate.button(QMessageBox::Ok);
    number->setText(QStringLiteral("00000001"));
    editor.lineEdit(QStringLiteral("读者姓名"))->setText(QStringLiteral("赵四"));
    editor.lineEdit(QStringLiteral("读者类型"))->setText(QStringLiteral("学生"));
    EXPECT_FALSE(editor.save());
    EXPECT_EQ(duplicate.texts, QStringList{QStringLiteral("读者编号已经存在！请重新输入！")});
    EXPECT_EQ(duplicate.titles, QStringList{QStringLiteral("警告")});
    EXPECT_EQ(count(QStringLiteral("select count(*) from [读者资料]")), 1);
}

TEST_P(ReaderWindowsTest, EditorTakesTheIdCardAndWritesTheIcCard) {
    const QString photo = QDir(temporaryFolder()).filePath(QStringLiteral("card-photo.bmp"));
    QImage face(40, 50, QImage::Format_RGB32);
    face.fill(Qt::darkGreen);
    face.save(photo, "BMP");
    const QString record = QDir(temporaryFolder()).filePath(QStringLiteral("card.bin"));
    QFile f(record);
    f.open(QIODevice::WriteOnly);
    f.write(idCardRecord({QStringLiteral("李娜"), QStringLiteral("女"), QStringLiteral("19900215"),
                          QStringLiteral("上海市"), QStringLiteral("310101199002150021"), photo}));
    f.close();
    m_cards.id = std::make_unique<SimulatedIdCard>(1001, false, record);
    const QString icFile = QDir(temporaryFolder()).filePath(QStringLiteral("editor-ic.txt"));
    m_cards.ic = std::make_unique<SimulatedIcCard>(0, icFile);

    ReaderEditor editor(m_context);
    editor.startNew();
    editor.show();
    EXPECT_TRUE(editor.readIdCard());
    EXPECT_EQ(editor.lineEdit(QStringLiteral("读者姓名"))->text(), QStringLiteral("李娜"));
    EXPECT_EQ(editor.comboBox(QStringLiteral("读者性别"))->currentText(), QStringLiteral("女"));
    EXPECT_EQ(editor.dateEdit(QStringLiteral("出生日期"))->date(), QDate(1990, 2, 15));
    EXPECT_EQ(editor.lineEdit(QStringLiteral("身份证号"))->text(),
              QStringLiteral("310101199002150021"));
    EXPECT_TRUE(editor.photo().startsWith("\xff\xd8")); // the bitmap stored as JPEG

    ModalAnswers answers;
    answers.button(QMessageBox::Ok).button(QMessageBox::Ok);
    EXPECT_FALSE(editor.writeCard());
    editor.lineEdit(QStringLiteral("读者编号"))->setText(QStringLiteral("R77"));
    EXPECT_TRUE(editor.writeCard());
    EXPECT_EQ(answers.texts, (QStringList{QStringLiteral("请先输入读者编号，在写卡！"),
                                          QStringLiteral("写卡成功！请继续输入其它信息！")}));
    EXPECT_EQ(editor.focusWidget(), editor.lineEdit(QStringLiteral("读者姓名")));
}

TEST_P(ReaderWindowsTest, LossReportLooksUpConfirmsAndSaysSo) {
    addReader(QStringLiteral("R1"));
    ReaderStatusWindow window(db(), StatusWindowKind::Loss);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("读者挂失"));
    window.show();

    {
        ModalAnswers answers;
        answers.button(QMessageBox::Ok);
        QTest::keyClicks(window.numberField(), QStringLiteral("R9"));
        QTest::keyClick(window.numberField(), Qt::Key_Return);
        EXPECT_EQ(answers.texts,
                  QStringList{QStringLiteral("没有找到该读者，请重新输入读者编号！")});
    }

    window.numberField()->clear();
    QTest::keyClicks(window.numberField(), QStringLiteral("R1"));
    QTest::keyClick(window.numberField(), Qt::Key_Return);
    EXPECT_EQ(window.nameField()->text(), QStringLiteral("读者R1"));
    EXPECT_EQ(window.typeField()->text(), QStringLiteral("学生"));

    {
        // Editing the number after the lookup asks for a new lookup first.
        ModalAnswers answers;
        answers.button(QMessageBox::Ok);
        QTest::keyClick(window.numberField(), Qt::Key_Backspace);
        QTest::keyClick(window.actionButton(), Qt::Key_Space);
        EXPECT_EQ(answers.texts, QStringList{QStringLiteral("请先输入读者编号！")});
        EXPECT_EQ(statusOf(QStringLiteral("R1")), QStringLiteral("正常"));
    }

    QTest::keyClicks(window.numberField(), QStringLiteral("1"));
    QTest::keyClick(window.numberField(), Qt::Key_Return);
    ModalAnswers answers;
    answers.button(QMessageBox::Yes).button(QMessageBox::Ok);
    EXPECT_TRUE(window.act());
    EXPECT_EQ(answers.texts,
              (QStringList{QStringLiteral("您选择的操作为：[挂失],当前读者：卡号为R1,姓名为读者R1,"
                                          "是否确定操作？[Y/N]"),
                           QStringLiteral("挂失操作成功！")}));
    EXPECT_EQ(statusOf(QStringLiteral("R1")), QStringLiteral("挂失"));
    EXPECT_FALSE(window.isVisible());
}

TEST_P(ReaderWindowsTest, TypeListShowsGroupedTitlesAndChooses) {
    ReaderTypesWindow window(db());
    window.setChooser(true);
    window.show();
    auto* header = qobject_cast<TwoLevelHeader*>(window.grid()->view()->horizontalHeader());
    ASSERT_TRUE(header);
    EXPECT_EQ(header->groupOf(1), QStringLiteral("书籍"));
    EXPECT_EQ(header->titleOf(1), QStringLiteral("借出册数"));
    EXPECT_EQ(header->groupOf(7), QStringLiteral("期刊"));
    EXPECT_EQ(header->groupOf(0), QString());
    EXPECT_EQ(window.currentName(), QStringLiteral("学生"));
    doubleClick(window.grid()->view(), window.grid()->model()->index(0, 0));
    EXPECT_TRUE(window.chosen());

    window.setChooser(false);
    window.show();
    EXPECT_FALSE(window.chosen());
    doubleClick(window.grid()->view(), window.grid()->model()->index(0, 0));
    EXPECT_FALSE(window.chosen());
    EXPECT_TRUE(window.isVisible());
}

TEST_P(ReaderWindowsTest, ReaderWindowListsByTypeFollowsLoansAndRefusesDeletes) {
    addType({QStringLiteral("教师")});
    addReader(QStringLiteral("R1"));
    addReader(QStringLiteral("T1"), QStringLiteral("教师"));
    const qint64 book = addBook(QStringLiteral("B1"));
    addLoan(QStringLiteral("R1"), book, today(), today().addDays(30));

    ReaderWindow window(m_context);
    window.show();
    EXPECT_EQ(window.grid()->model()->rowCount(), 2);
    QTreeWidgetItem* root = window.typeTree()->topLevelItem(0);
    ASSERT_EQ(root->childCount(), 2);
    EXPECT_TRUE(window.listType(QStringLiteral("教师")));
    EXPECT_EQ(window.grid()->model()->rowCount(), 1);
    window.showAll();

    ASSERT_TRUE(window.selectNumber(QStringLiteral("R1")));
    EXPECT_EQ(window.loanGrid(0)->model()->rowCount(), 1);
    EXPECT_EQ(window.loanGrid(0)->model()->fieldValue(0, QStringLiteral("书籍编号")).toString(),
              QStringLiteral("B1"));

    ModalAnswers answers;
    answers.button(QMessageBox::Ok)
        .button(QMessageBox::Yes)
        .button(QMessageBox::Yes)
        .button(QMessageBox::Ok);
    EXPECT_FALSE(window.deleteCurrent());
    db().execute(QStringLiteral("update [读者资料] set [选中]=TRUE"));
    EXPECT_FALSE(window.deleteMarkedReaders());
    EXPECT_EQ(answers.texts.first(), QStringLiteral("此读者有书籍未归还，不能删除！"));
    EXPECT_TRUE(answers.texts.last().endsWith(QStringLiteral("此读者有书籍未归还，不能删除！")));
    EXPECT_EQ(count(QStringLiteral("select count(*) from [读者资料]")), 2);

    // Reduced display: no panel and no loan lists while moving through the readers.
    m_context.viewMode = QStringLiteral("0");
    ReaderWindow reduced(m_context);
    reduced.show();
    EXPECT_FALSE(reduced.detailPanel()->isVisible());
    ASSERT_TRUE(reduced.selectNumber(QStringLiteral("R1")));
    EXPECT_EQ(reduced.loanGrid(0)->model()->rowCount(), 0);
}

CANGSHU_ENGINES(ReaderWindowsTest);

TEST(CameraWindow, WithoutACameraNothingIsSaved) {
    if (!QMediaDevices::videoInputs().isEmpty())
        GTEST_SKIP() << "this workstation has a camera";
    const QString folder = QDir(temporaryFolder()).filePath(QStringLiteral("camera-home"));
    CameraWindow camera{Home(folder)};
    int saved = 0;
    QString number;
    camera.setCaller(
        {CameraUse::Reader, [&] { return number; }, {}, [&](const SavedFrame&) { ++saved; }});
    EXPECT_TRUE(camera.saveButton(CameraUse::Reader)->isVisibleTo(&camera));
    EXPECT_FALSE(camera.saveButton(CameraUse::Book)->isVisibleTo(&camera));
    camera.show();

    ModalAnswers answers;
    answers.button(QMessageBox::Ok).button(QMessageBox::Ok).button(QMessageBox::Ok);
    camera.save(); // no number
    EXPECT_FALSE(camera.startVideo());
    number = QStringLiteral("R1");
    camera.save();
    EXPECT_EQ(answers.texts, (QStringList{QStringLiteral("请先输入读者编号！"),
                                          QStringLiteral("没有找到摄像头，不能启动视频！"),
                                          QStringLiteral("视频没有启动，请先启动视频！")}));
    // A frame nobody asked for is not stored either.
    QImage frame(8, 8, QImage::Format_RGB32);
    frame.fill(Qt::red);
    camera.storeFrame(frame);
    EXPECT_EQ(saved, 0);
    EXPECT_FALSE(QFile::exists(Home(folder).coverFolder() + QStringLiteral("/R1.jpg")));
}

TEST(CardReaderAtLogin, OpensOnEachShowingWhenAskedAndReportsAFailure) {
    const QString folder = temporaryFolder();
    const Home home(folder);
    QDir().mkpath(home.path(QStringLiteral("set_ini")));
    SimulatedIcCard device(3, {});
    QDialog login;
    openCardReaderWithLogin(&login, home, &device);
    struct Case {
        bool openAtLogin;
        int port;
        QStringList calls;
        QStringList messages;
    };
    const QList<Case> cases{
        {false, 3, {}, {}},
        {true, 3, {QStringLiteral("open(3)")}, {}},
        {true,
         2,
         {QStringLiteral("open(3)"), QStringLiteral("open(2)")},
         {QStringLiteral("读卡机初始化失败！请在系统设置里进行设置！")}},
    };
    for (const Case& c : cases) {
        Config config = Config::defaults();
        config.openCardAtLogin = c.openAtLogin;
        config.comPort = c.port;
        ASSERT_TRUE(config.save(home.iniFile()));
        ModalAnswers answers;
        answers.button(QMessageBox::Ok);
        login.show();
        QTest::qWait(100);
        login.hide();
        EXPECT_EQ(device.calls(), c.calls) << c.port;
        EXPECT_EQ(answers.texts, c.messages) << c.port;
    }
}
