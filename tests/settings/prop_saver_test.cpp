#include "settings/rs_ini_data.h"
#include "settings/rs_ini_reader.h"
#include "settings/rs_ini_writer.h"
#include "settings/rs_prop_saver.h"
#include "settings/rs_property_path.h"
#include "settings/rs_storage.h"
#include "settings/rs_window_placement.h"
#include "tests/support/message_box_steps.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QMessageBox>
#include <QScreen>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <QtTest>

using namespace mirelon;

// A property-inspector row as the option panels expose it: its value text as "Value".
class TextRow : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString Value MEMBER value)
public:
    TextRow(const QString& name, const QString& initial, QObject* parent)
        : QObject(parent), value(initial) {
        setObjectName(name);
    }
    QString value;
};

class TypedHolder : public QObject {
    Q_OBJECT
public:
    enum Mode { Fast, Careful };
    Q_ENUM(Mode)
    enum Part { Left = 1, Right = 2 };
    Q_DECLARE_FLAGS(Parts, Part)
    Q_FLAG(Parts)

    Q_PROPERTY(Mode mode MEMBER mode)
    Q_PROPERTY(Parts parts READ Flags WRITE SetFlags)
    Q_PROPERTY(bool enabled MEMBER enabled)
    Q_PROPERTY(double ratio MEMBER ratio)
    Q_PROPERTY(qlonglong big MEMBER big)
    Q_PROPERTY(QStringList lines MEMBER lines)
    Q_PROPERTY(QObject* link MEMBER link)
    Q_PROPERTY(QRect area MEMBER area)

    Parts Flags() const { return parts; }
    void SetFlags(Parts value) { parts = value; }

    Mode mode = Fast;
    Parts parts;
    bool enabled = false;
    double ratio = 0;
    qlonglong big = 0;
    QStringList lines;
    QObject* link = nullptr;
    QRect area;
};

// Closing can be refused, as a window's own close handling may do.
class RefusingWindow : public QWidget {
public:
    bool refuse = false;

protected:
    void closeEvent(QCloseEvent* event) override {
        if (refuse)
            event->ignore();
        else
            event->accept();
    }
};

class PropSaverTest : public QObject {
    Q_OBJECT

private slots:
    void loadSetsTheSpinBoxWhateverTheKeyCase_data();
    void loadSetsTheSpinBoxWhateverTheKeyCase();
    void pathNamingNoControlIsSkippedAndItsKeyDeleted();
    void exampleFileIsWrittenByteForByte();
    void propertyTypesRoundTrip();
    void pathsFollowObjectProperties();
    void placementRestoresPositionAndSize();
    void placementPartsFollowTheOptions();
    void saverRestoresEachPlacementPartOnItsOwn();
    void placementOffEveryScreenComesOntoThePrimaryScreen();
    void malformedPlacementChangesNothing();
    void minimisedWindowClosedStoresShowStateTwo();
    void refusedCloseDoesNotSave();
    void destroyedSaverDoesNotSave();
    void conversionErrorIsReportedAndStopsTheLoad();
    void hugeValueIsQuotedInPartWithItsFileAndKey();
};

namespace {

QSpinBox* AddMonths(QWidget& window) {
    // Nested like the real control, to show the lookup reaches below the first level.
    auto* group = new QGroupBox(&window);
    auto* months = new QSpinBox(group);
    months->setObjectName("seMonths");
    months->setRange(1, 60);
    months->setValue(12);
    return months;
}

TrsPropSaver* AddSaver(QWidget& window, TrsStorage& storage, const QString& section,
                       const QStringList& properties) {
    auto* saver = new TrsPropSaver(&window);
    saver->setObjectName("PropSaver");
    saver->SetStorage(&storage);
    saver->SetRootSection(section);
    saver->SetProperties(properties);
    return saver;
}

} // namespace

void PropSaverTest::loadSetsTheSpinBoxWhateverTheKeyCase_data() {
    QTest::addColumn<QString>("file");
    QTest::newRow("as written") << "[frmMain.PropSaver]\r\nseMonths.Value=7\r\n";
    QTest::newRow("capitals") << "[FRMMAIN.PROPSAVER]\r\nSEMONTHS.VALUE=7\r\n";
}

void PropSaverTest::loadSetsTheSpinBoxWhateverTheKeyCase() {
    QFETCH(QString, file);
    TrsStorage storage;
    ReadIniText(file.toStdString(), storage);
    QWidget window;
    QSpinBox* months = AddMonths(window);
    TrsPropSaver* saver = AddSaver(window, storage, "frmMain.PropSaver", {"seMonths.Value"});
    saver->SetWhenLoad(wlOnCreate);
    saver->WindowCreated();
    QCOMPARE(months->value(), 7);
}

void PropSaverTest::pathNamingNoControlIsSkippedAndItsKeyDeleted() {
    TrsStorage storage;
    ReadIniText("[frmScan_Options.PropSaver]\r\ncboDeleteDatabase.ItemIndex=1\r\n"
                "cboHashMethod.ItemIndex=11\r\n",
                storage);
    QWidget panel;
    auto* hash = new QComboBox(&panel);
    hash->setObjectName("cboHashMethod");
    for (int i = 0; i < 12; ++i)
        hash->addItem(QString::number(i));
    TrsPropSaver* saver = AddSaver(panel, storage, "frmScan_Options.PropSaver",
                                   {"cboHashMethod.ItemIndex", "cboDeleteDatabase.ItemIndex"});
    saver->SetFormPlacementOptions(0);
    saver->Load();
    QCOMPARE(hash->currentIndex(), 11);

    hash->setCurrentIndex(4);
    saver->Save();
    QCOMPARE(IniText(storage), std::string("[frmScan_Options.PropSaver]\r\n"
                                           "cboHashMethod.ItemIndex=4\r\n\r\n"));
}

void PropSaverTest::exampleFileIsWrittenByteForByte() {
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const std::string path = SettingsFileName(folder.path().toStdString(), "/bin/mirelon");
    TrsStorage storage;
    storage.SetStorageData(std::make_unique<TrsIniData>(path));
    storage.SetActive(true);

    QWidget mainWindow;
    AddMonths(mainWindow);
    TrsPropSaver* mainSaver =
        AddSaver(mainWindow, storage, "frmMain.PropSaver", {"seMonths.Value"});

    QWidget scanPanel;
    auto* hash = new QComboBox(&scanPanel);
    hash->setObjectName("cboHashMethod");
    hash->addItems({"MD2", "MD4", "MD5", "CRC32", "CRC32B", "ADLER32", "GOST", "HAVAL128",
                    "HAVAL160", "HAVAL192", "HAVAL224", "HAVAL256"});
    hash->setCurrentIndex(2);
    auto* fresh = new QComboBox(&scanPanel);
    fresh->setObjectName("cboFreshScan");
    fresh->addItems({"Yes (Old data will be deleted)", "No (Continue from last scan)"});
    TrsPropSaver* scanSaver = AddSaver(
        scanPanel, storage, "frmScan_Options.PropSaver",
        {"cboHashMethod.ItemIndex", "cboDeleteDatabase.ItemIndex", "cboFreshScan.ItemIndex"});

    QWidget duplicatesPanel;
    new TextRow("chkSameName", "true", &duplicatesPanel);
    new TextRow("edtExtensions", ".doc,.zip,.exe,.txt", &duplicatesPanel);
    TrsPropSaver* duplicatesSaver =
        AddSaver(duplicatesPanel, storage, "frmDuplicateFiles_Options.PropSaver",
                 {"chkSameName.Value", "edtExtensions.Value"});

    // The example leaves the placement keys out.
    for (TrsPropSaver* saver : {mainSaver, scanSaver, duplicatesSaver}) {
        saver->SetFormPlacementOptions(0);
        saver->WindowCreated();
    }
    scanSaver->Save();
    duplicatesSaver->Save();
    mainSaver->Save();
    storage.Flush();

    QFile file(QString::fromStdString(path));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("[frmDuplicateFiles_Options.PropSaver]\r\n"
                                        "chkSameName.Value=\"true\"\r\n"
                                        "edtExtensions.Value=\".doc,.zip,.exe,.txt\"\r\n"
                                        "\r\n"
                                        "[frmMain.PropSaver]\r\n"
                                        "seMonths.Value=12\r\n"
                                        "\r\n"
                                        "[frmScan_Options.PropSaver]\r\n"
                                        "cboFreshScan.ItemIndex=0\r\n"
                                        "cboHashMethod.ItemIndex=2\r\n"
                                        "\r\n"));
    storage.SetOptions(0);
}

void PropSaverTest::propertyTypesRoundTrip() {
    TrsStorage storage;
    QWidget window;
    auto* holder = new TypedHolder;
    holder->setParent(&window);
    holder->setObjectName("holder");
    holder->mode = TypedHolder::Careful;
    holder->parts = TypedHolder::Parts(TypedHolder::Left) | TypedHolder::Right;
    holder->enabled = true;
    holder->ratio = 0.75;
    holder->big = 1LL << 40;
    holder->lines = {"one", "two"};
    holder->area = QRect(1, 2, 3, 4);
    const QStringList properties = {"holder.mode", "holder.parts", "holder.enabled", "holder.ratio",
                                    "holder.big",  "holder.lines", "holder.area"};
    TrsPropSaver* saver = AddSaver(window, storage, "s", properties);
    saver->SetFormPlacementOptions(0);
    saver->Save();
    QCOMPARE(IniText(storage), std::string("[s]\r\n"
                                           "holder.big=int64:1099511627776\r\n"
                                           "holder.enabled=\"True\"\r\n"
                                           "holder.lines=text:\"one$0D$0Atwo$0D$0A\"\r\n"
                                           "holder.mode=\"Careful\"\r\n"
                                           "holder.parts=\"[Left,Right]\"\r\n"
                                           "holder.ratio=0.75\r\n\r\n"));

    TypedHolder fresh;
    holder->mode = fresh.mode;
    holder->parts = fresh.parts;
    holder->enabled = fresh.enabled;
    holder->ratio = fresh.ratio;
    holder->big = fresh.big;
    holder->lines = fresh.lines;
    saver->Load();
    QCOMPARE(holder->mode, TypedHolder::Careful);
    QCOMPARE(holder->parts, TypedHolder::Parts(TypedHolder::Left) | TypedHolder::Right);
    QCOMPARE(holder->enabled, true);
    QCOMPARE(holder->ratio, 0.75);
    QCOMPARE(holder->big, 1LL << 40);
    QCOMPARE(holder->lines, QStringList({"one", "two"}));

    // Identifiers ignore letter case; unknown ones leave the property alone; a set may also be
    // stored as its bits.
    ReadIniText("[s]\r\nholder.mode=fast\r\nholder.enabled=maybe\r\nholder.parts=2\r\n", storage);
    saver->Load();
    QCOMPARE(holder->mode, TypedHolder::Fast);
    QCOMPARE(holder->enabled, true);
    QCOMPARE(holder->parts, TypedHolder::Parts(TypedHolder::Right));
}

void PropSaverTest::pathsFollowObjectProperties() {
    QWidget window;
    auto* holder = new TypedHolder;
    holder->setParent(&window);
    holder->setObjectName("holder");
    auto* target = new TextRow("elsewhere", "x", nullptr);
    holder->link = target;
    const auto resolved = ResolvePropertyPath(&window, "HOLDER.Link.value");
    QVERIFY(resolved.has_value());
    QCOMPARE(resolved->object, target);
    QCOMPARE(QByteArray(resolved->property.name()), QByteArray("Value"));

    holder->link = nullptr;
    QVERIFY(!ResolvePropertyPath(&window, "holder.link.Value").has_value());
    QVERIFY(!ResolvePropertyPath(&window, "holder.").has_value());
    QVERIFY(!ResolvePropertyPath(&window, "nobody.Value").has_value());
    delete target;
}

void PropSaverTest::placementRestoresPositionAndSize() {
    TrsStorage storage;
    ReadIniText("[w]\r\nFormPlacement=0,1,-1,-1,-1,-1,100,120,500,420\r\n", storage);
    QWidget window;
    window.setGeometry(10, 10, 50, 50);
    TrsPropSaver* saver = AddSaver(window, storage, "w", {});
    saver->Load();
    QVERIFY(saver->PlacementRestored());
    QVERIFY(!window.isVisible());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.geometry(), QRect(100, 120, 400, 300));
    saver->Save();
    QCOMPARE(IniText(storage), std::string("[w]\r\nFormPlacement="
                                           "\"0,1,-1,-1,-1,-1,100,120,500,420\"\r\n\r\n"));
}

void PropSaverTest::placementPartsFollowTheOptions() {
    QWidget window;
    window.setGeometry(10, 20, 50, 60);
    QVERIFY(RestoreWindowPlacement(window, "0,3,-1,-1,-1,-1,100,120,500,420", pfpSize));
    QCOMPARE(window.geometry().topLeft(), QPoint(10, 20));
    QCOMPARE(window.size(), QSize(400, 300));
    QVERIFY(!window.isMaximized());

    QVERIFY(RestoreWindowPlacement(window, "0,3,-1,-1,-1,-1,100,120,500,420", pfpPlacement));
    QCOMPARE(window.geometry().topLeft(), QPoint(100, 120));
    QCOMPARE(window.size(), QSize(400, 300));

    QVERIFY(RestoreWindowPlacement(window, "0,6,-1,-1,-1,-1,0,0,9,9", pfpState));
    QVERIFY(window.isMinimized());
    QVERIFY(!window.isVisible());
    QVERIFY(RestoreWindowPlacement(window, "0,3,-1,-1,-1,-1,0,0,9,9", pfpState));
    QVERIFY(window.isMaximized());
}

void PropSaverTest::saverRestoresEachPlacementPartOnItsOwn() {
    TrsStorage storage;
    ReadIniText("[w]\r\nFormPlacement=0,3,-1,-1,-1,-1,100,120,500,420\r\n", storage);
    QWidget window;
    window.setGeometry(10, 20, 50, 60);
    TrsPropSaver* saver = AddSaver(window, storage, "w", {});

    saver->SetFormPlacementOptions(pfpSize);
    saver->Load();
    QCOMPARE(window.geometry(), QRect(10, 20, 400, 300));
    QVERIFY(!window.isMaximized());
    // The window may still be centred: no stored position was applied.
    QVERIFY(!saver->PlacementRestored());

    saver->SetFormPlacementOptions(pfpState);
    saver->Load();
    QVERIFY(window.isMaximized());
    QVERIFY(!window.isVisible());
    QCOMPARE(window.normalGeometry(), QRect(10, 20, 400, 300));
}

void PropSaverTest::placementOffEveryScreenComesOntoThePrimaryScreen() {
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const auto restore = [](QWidget& window, int left, int top, int right, int bottom) {
        const QString text =
            QString("0,1,-1,-1,-1,-1,%1,%2,%3,%4").arg(left).arg(top).arg(right).arg(bottom);
        QVERIFY(RestoreWindowPlacement(window, text, pfpPlacement | pfpSize | pfpState));
    };
    QWidget window;

    // Far off, as a damaged value or an unplugged monitor leaves it: centred, its size kept.
    restore(window, 99999999, 99999999, 99999999 + 400, 99999999 + 300);
    QCOMPARE(window.size(), QSize(400, 300));
    QCOMPARE(window.geometry().center(), area.center());
    // Ending where the screen begins is not on it; larger than the screen, it is cut to it.
    restore(window, area.left() - 2 * area.width(), area.top(), area.left(),
            area.top() + 2 * area.height());
    QCOMPARE(window.geometry(), area);
    // The extremes of the stored numbers do not wrap around onto the screen.
    restore(window, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX);
    QCOMPARE(window.geometry(), area);
    restore(window, INT32_MAX - 10, INT32_MAX - 10, INT32_MAX, INT32_MAX);
    QCOMPARE(window.geometry(), QRect(area.center() - QPoint(4, 4), QSize(10, 10)));

    // A window partly on screen can be dragged back by the user: it stays where it was put.
    restore(window, area.left() - 300, area.top() - 200, area.left() + 100, area.top() + 100);
    QCOMPARE(window.geometry(), QRect(area.left() - 300, area.top() - 200, 400, 300));

    // So does it through the saver, shown the way a window is at start-up.
    TrsStorage storage;
    ReadIniText("[w]\r\nFormPlacement=0,1,-1,-1,-1,-1,-5000,-5000,-4600,-4700\r\n", storage);
    QWidget shown;
    AddSaver(shown, storage, "w", {})->Load();
    shown.show();
    QVERIFY(QTest::qWaitForWindowExposed(&shown));
    QVERIFY(area.contains(shown.geometry()));
    QCOMPARE(shown.size(), QSize(400, 300));
}

void PropSaverTest::malformedPlacementChangesNothing() {
    QWidget window;
    window.setGeometry(10, 20, 50, 60);
    for (const char* text : {"0,1,-1,-1,-1,-1,100,120,500", "0,1,-1,-1,-1,-1,100,120,500,420,7",
                             "0,1,a,b,c,d,1,2,3,4", "", "0,1,-1,-1,-1,-1,100,120,99999999999,420"})
        QVERIFY2(!RestoreWindowPlacement(window, text, pfpPlacement | pfpSize | pfpState), text);
    QCOMPARE(window.geometry(), QRect(10, 20, 50, 60));
    // An upside-down rectangle moves the window but leaves its size.
    QVERIFY(
        RestoreWindowPlacement(window, "0,1,-1,-1,-1,-1,300,300,100,100", pfpPlacement | pfpSize));
    QCOMPARE(window.geometry(), QRect(300, 300, 50, 60));
}

void PropSaverTest::minimisedWindowClosedStoresShowStateTwo() {
    TrsStorage storage;
    QWidget window;
    AddMonths(window);
    TrsPropSaver* saver = AddSaver(window, storage, "frmMain.PropSaver", {"seMonths.Value"});
    saver->SetWhenSave(wsOnClose);
    window.setGeometry(30, 40, 200, 100);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.showMinimized();
    QVERIFY(window.isMinimized());
    QVERIFY(window.close());

    storage.SetRootSection("frmMain.PropSaver");
    QVERIFY(storage.FindKey("seMonths.Value", false) >= 0);
    QCOMPARE(storage.Key().AsInteger(), 12);
    QVERIFY(storage.FindKey("FormPlacement", false) >= 0);
    const QString placement = QString::fromStdString(storage.Key().AsString());
    const QStringList fields = placement.split(',');
    QCOMPARE(fields.size(), 10);
    QCOMPARE(fields[1], QString("2"));

    // Restored at the next start, the window opens minimized.
    QWidget next;
    QVERIFY(RestoreWindowPlacement(next, placement, pfpPlacement | pfpSize | pfpState));
    QVERIFY(next.isMinimized());
    QCOMPARE(next.size(), QSize(200, 100));
}

void PropSaverTest::refusedCloseDoesNotSave() {
    TrsStorage storage;
    RefusingWindow window;
    AddMonths(window);
    TrsPropSaver* saver = AddSaver(window, storage, "frmMain.PropSaver", {"seMonths.Value"});
    saver->SetWhenSave(wsOnClose);
    window.show();
    window.refuse = true;
    QVERIFY(!window.close());
    QVERIFY(window.isVisible());
    QCOMPARE(storage.KeyCount(), size_t{0});
    window.refuse = false;
    QVERIFY(window.close());
    QCOMPARE(storage.KeyCount(), size_t{2});
}

void PropSaverTest::destroyedSaverDoesNotSave() {
    TrsStorage storage;
    QWidget window;
    TrsPropSaver* saver = AddSaver(window, storage, "w", {});
    saver->SetWhenSave(wsOnClose);
    window.show();
    delete saver;
    QVERIFY(window.close());
    QCOMPARE(storage.KeyCount(), size_t{0});
}

void PropSaverTest::conversionErrorIsReportedAndStopsTheLoad() {
    TrsStorage storage;
    ReadIniText("[w]\r\nseMonths.Value=many\r\nother.Value=\"changed\"\r\n", storage);
    QWidget window;
    QSpinBox* months = AddMonths(window);
    auto* other = new TextRow("other", "initial", &window);
    TrsPropSaver* saver = AddSaver(window, storage, "w", {"seMonths.Value", "other.Value"});
    QStringList errors;
    saver->SetErrorHandler([&](const QString& message) { errors << message; });
    saver->SetWhenLoad(wlOnCreate);
    saver->WindowCreated();
    // The store's own text, then the key; a store without a file names none.
    QCOMPARE(errors, QStringList({"'many' is not a valid integer value\n\n"
                                  "Key: seMonths.Value in section [w]"}));
    QCOMPARE(months->value(), 12);
    QCOMPARE(other->value, QString("initial"));

    ReadIniText("[w]\r\nseMonths.Value=point:1,2\r\n", storage);
    errors.clear();
    saver->WindowCreated();
    QCOMPARE(errors, QStringList({"TrsStorage get key value error: Can't read value of key "
                                  "\"\\w\\seMonths.Value\" as integer type.\n\n"
                                  "Key: seMonths.Value in section [w]"}));
}

void PropSaverTest::hugeValueIsQuotedInPartWithItsFileAndKey() {
    QTemporaryDir folder;
    const std::string path = SettingsFileName(folder.path().toStdString(), "/bin/mirelon");
    QFile file(QString::fromStdString(path));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[frmMain.PropSaver]\r\nseMonths.Value=");
    file.write(QByteArray(20'000'000, 'x'));
    file.write("\r\n");
    file.close();

    TrsStorage storage;
    storage.SetStorageData(std::make_unique<TrsIniData>(path));
    storage.SetActive(true);
    storage.SetOptions(0);
    QWidget window;
    QSpinBox* months = AddMonths(window);
    TrsPropSaver* saver = AddSaver(window, storage, "frmMain.PropSaver", {"seMonths.Value"});
    saver->SetWhenLoad(wlOnCreate);
    // The program's own way of showing it: a message box, answered here.
    QString shown;
    test::WhenMessageBoxShows([&](QMessageBox& box) {
        shown = box.text();
        box.reject();
    });
    saver->WindowCreated();
    QCOMPARE(shown, "'" + QString(80, 'x') + QChar(0x2026) +
                        "' is not a valid integer value\n\nSettings file: " +
                        QString::fromStdString(path) +
                        "\nKey: seMonths.Value in section [frmMain.PropSaver]");
    QCOMPARE(months->value(), 12);
}

QTEST_MAIN(PropSaverTest)
#include "prop_saver_test.moc"
