#include "app/frm_main.h"

#include "app/blinking_label.h"
#include "app/navigation_bar.h"
#include "app/thread_ex_object.h"
#include "session/shell_jobs.h"
#include "session/shell_state.h"
#include "widgets/status_lamp.h"

#include <QFont>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

namespace mirelon {

namespace {

constexpr int kNavigationWidth = 200;
constexpr int kPageAreaHeight = 300;
constexpr int kBottomBarHeight = 47;
constexpr int kStatusBarHeight = 19;

const char* const kPageTexts[] = {
    "Before you can search for any kind of files, you need to scan your harddisk and gather as "
    "much information as possible.\r\nIf you have added/deleted files or (un)installed any "
    "programs you should rescan your harddisk.\r\nDepending on the number of files on your "
    "harddisk this operation will take about an hour.\r\n\r\nClick the \"Scan Now\" button to "
    "start scanning your harddisk.",
    "Files which have not been used in a certain period of time (i.e. 0ne year) are probably "
    "useless.\rHowever inspect the returned results before archiving.",
    "You should only use this functionality with your personal files such as your music files or "
    "files downloaded from the Internet.\rNever delete files that you don't know.\r\rUse the "
    "options as much as possible to narrow down the results and reduce query time.",
    "DLLs (Dynamic Link Library) are library files which might be used by several other "
    "files.\r\nIf you have installed and uninstalled programs in the past chances are that your "
    "Windows contains DLLs which are not used by any program.\r\nThe performance of your "
    "computer is proportional with the number of DLLs installed.",
};

// The texts are stored with CR LF and lone CR breaks; both are line breaks on screen.
QString WithLineBreaks(const char* text) {
    QString result = QString::fromUtf8(text);
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return result;
}

// Parented by the layout it is put in.
QPushButton* BoldButton(const QString& objectName, const QString& caption) {
    auto* button = new QPushButton(caption);
    button->setObjectName(objectName);
    QFont bold = button->font();
    bold.setBold(true);
    button->setFont(bold);
    button->setMinimumWidth(90);
    return button;
}

QHBoxLayout* ButtonRow(std::initializer_list<QPushButton*> buttons) {
    auto* row = new QHBoxLayout();
    row->addStretch(1);
    for (QPushButton* button : buttons) {
        row->addWidget(button);
    }
    return row;
}

} // namespace

TfrmMain::TfrmMain(TShellState& state, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      state_(state), lamps_{IdleStatusLamp(), BusyStatusLamp()} {
    setObjectName(QStringLiteral("frmMain"));
    // The task bar shows the title, so it is the program's name; Qt appends the display name
    // only to a title that does not already end with it.
    setWindowTitle(QStringLiteral("Mirelon"));
    setFont(QFont(QStringLiteral("MS Shell Dlg 2"), 8));
    setFixedSize(kClientWidth, kClientHeight);

    BuildNavigation();
    BuildPages();
    BuildBottomBar();
    BuildStatusBar();

    thHelperThread = new TThreadExObject(QStringLiteral("thHelperThread"), this);
    HelperThread().WaitThread = true;
    HelperThread().OnExecute = [this](TThreadEx& sender) { thHelperThreadExecute(sender); };
    RegisterShellJobs(dispatcher_, state_);

    tmrAfterShow = new QTimer(this);
    tmrAfterShow->setObjectName(QStringLiteral("tmrAfterShow"));
    tmrAfterShow->setInterval(1000);
    connect(tmrAfterShow, &QTimer::timeout, this, &TfrmMain::tmrAfterShowTimer);
    tmrAfterShow->start();

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect available = screen->availableGeometry();
        move(available.center() - rect().center());
    }
}

void TfrmMain::BuildNavigation() {
    navMain = new TNavigationBar(this);
    navMain->setObjectName(QStringLiteral("navMain"));
    navMain->setGeometry(0, 0, kNavigationWidth, kPageAreaHeight);
    navMain->AddPage(QStringLiteral("hdrScanHarddisk"), QStringLiteral("Scan Harddisk"));
    navMain->AddPage(QStringLiteral("hdrOldFiles"), QStringLiteral("Find Old Files"));
    navMain->AddPage(QStringLiteral("hdrDuplicateFiles"), QStringLiteral("Find Duplicate Files"));
    navMain->AddPage(QStringLiteral("hdrUnusedDlls"), QStringLiteral("Find Unused Dlls"));
    connect(navMain, &TNavigationBar::CurrentChanged, this, &TfrmMain::navMainChange);
}

QVBoxLayout* TfrmMain::AddPage(const QString& objectName, const QString& title,
                               const QString& text) {
    auto* page = new QWidget(pcMain);
    page->setObjectName(objectName);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* header = new QLabel(title, page);
    QFont headerFont(QStringLiteral("Arial"));
    headerFont.setPixelSize(13);
    headerFont.setBold(true);
    header->setFont(headerFont);
    header->setFixedHeight(26);
    header->setContentsMargins(8, 0, 8, 0);
    header->setAutoFillBackground(true);
    QPalette headerColours = header->palette();
    headerColours.setColor(QPalette::Window, QColor(0x3f, 0x6e, 0xa8));
    headerColours.setColor(QPalette::WindowText, Qt::white);
    header->setPalette(headerColours);
    layout->addWidget(header);

    auto* body = new QVBoxLayout();
    body->setContentsMargins(8, 8, 8, 8);
    layout->addLayout(body, 1);
    auto* explanation = new QLabel(text, page);
    explanation->setTextFormat(Qt::PlainText);
    explanation->setWordWrap(true);
    explanation->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    body->addWidget(explanation);
    body->addStretch(1);

    pcMain->addWidget(page);
    return body;
}

void TfrmMain::BuildPages() {
    pcMain = new QStackedWidget(this);
    pcMain->setObjectName(QStringLiteral("pcMain"));
    pcMain->setGeometry(kNavigationWidth, 0, kClientWidth - kNavigationWidth, kPageAreaHeight);

    QVBoxLayout* scanPage = AddPage(QStringLiteral("tabScanHarddisk"),
                                    QStringLiteral("Scan Harddisk"), WithLineBreaks(kPageTexts[0]));
    gbLastScanned = new QGroupBox(QStringLiteral("Last Scanned"));
    gbLastScanned->setObjectName(QStringLiteral("gbLastScanned"));
    lblLastScanned = new QLabel(QStringLiteral("Never"), gbLastScanned);
    lblLastScanned->setObjectName(QStringLiteral("lblLastScanned"));
    lblLastScanned->setAlignment(Qt::AlignCenter);
    QPalette red = lblLastScanned->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    lblLastScanned->setPalette(red);
    (new QVBoxLayout(gbLastScanned))->addWidget(lblLastScanned);
    btnScan = BoldButton(QStringLiteral("btnScan"), QStringLiteral("Scan Now"));
    btnScanOptions = BoldButton(QStringLiteral("btnScanOptions"), QStringLiteral("Options"));
    scanPage->addWidget(gbLastScanned);
    scanPage->addLayout(ButtonRow({btnScanOptions, btnScan}));

    QVBoxLayout* oldPage = AddPage(QStringLiteral("tabOldFiles"), QStringLiteral("Find Old Files"),
                                   WithLineBreaks(kPageTexts[1]));
    gbFindFilesOlderThan = new QGroupBox(QStringLiteral("Find Files Older Than"));
    gbFindFilesOlderThan->setObjectName(QStringLiteral("gbFindFilesOlderThan"));
    seMonths = new QSpinBox(gbFindFilesOlderThan);
    seMonths->setObjectName(QStringLiteral("seMonths"));
    seMonths->setRange(1, 60);
    seMonths->setValue(12);
    auto* monthsRow = new QHBoxLayout(gbFindFilesOlderThan);
    monthsRow->addWidget(seMonths);
    monthsRow->addWidget(new QLabel(QStringLiteral("months"), gbFindFilesOlderThan));
    monthsRow->addStretch(1);
    btnOldFiles = BoldButton(QStringLiteral("btnOldFiles"), QStringLiteral("Show Results"));
    oldPage->addWidget(gbFindFilesOlderThan);
    oldPage->addLayout(ButtonRow({btnOldFiles}));

    QVBoxLayout* duplicatePage =
        AddPage(QStringLiteral("tabDuplicateFiles"), QStringLiteral("Find Duplicate Files"),
                WithLineBreaks(kPageTexts[2]));
    btnDuplicateFiles =
        BoldButton(QStringLiteral("btnDuplicateFiles"), QStringLiteral("Show Results"));
    btnDuplicateFilesOptions =
        BoldButton(QStringLiteral("btnDuplicateFilesOptions"), QStringLiteral("Options"));
    duplicatePage->addLayout(ButtonRow({btnDuplicateFilesOptions, btnDuplicateFiles}));

    QVBoxLayout* dllPage =
        AddPage(QStringLiteral("tabUnusedDlls"), QStringLiteral("Find Unused Dlls"),
                WithLineBreaks(kPageTexts[3]));
    btnUnusedDlls = BoldButton(QStringLiteral("btnUnusedDlls"), QStringLiteral("Show Results"));
    dllPage->addLayout(ButtonRow({btnUnusedDlls}));

    pcMain->setCurrentIndex(0);

    connect(btnScan, &QPushButton::clicked, this, &TfrmMain::btnScanClick);
    connect(btnScanOptions, &QPushButton::clicked, this, &TfrmMain::btnScanOptionsClick);
    connect(btnOldFiles, &QPushButton::clicked, this, &TfrmMain::btnOldFilesClick);
    connect(btnDuplicateFiles, &QPushButton::clicked, this, &TfrmMain::btnDuplicateFilesClick);
    connect(btnDuplicateFilesOptions, &QPushButton::clicked, this,
            &TfrmMain::btnDuplicateFilesOptionsClick);
    connect(btnUnusedDlls, &QPushButton::clicked, this, &TfrmMain::btnUnusedDllsClick);
}

void TfrmMain::BuildBottomBar() {
    auto* bar = new QFrame(this);
    bar->setObjectName(QStringLiteral("pnlBottom"));
    bar->setFrameShape(QFrame::NoFrame);
    bar->setGeometry(0, kPageAreaHeight, kClientWidth, kBottomBarHeight);
    btnHelp = new QPushButton(QStringLiteral("&Help"), bar);
    btnHelp->setObjectName(QStringLiteral("btnHelp"));
    btnExit = new QPushButton(QStringLiteral("E&xit"), bar);
    btnExit->setObjectName(QStringLiteral("btnExit"));
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(8, 8, 8, 8);
    row->addStretch(1);
    row->addWidget(btnHelp);
    row->addWidget(btnExit);
    connect(btnExit, &QPushButton::clicked, this, &TfrmMain::btnExitClick);
}

void TfrmMain::BuildStatusBar() {
    StatusBar = new QStatusBar(this);
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    StatusBar->setSizeGripEnabled(false);
    StatusBar->setGeometry(0, kClientHeight - kStatusBarHeight, kClientWidth, kStatusBarHeight);

    sbGlyph = new QLabel(StatusBar);
    sbGlyph->setObjectName(QStringLiteral("sbGlyph"));
    sbGlyph->setFixedWidth(25);
    sbGlyph->setAlignment(Qt::AlignCenter);
    sbGlyph->setPixmap(lamps_[glyphIndex_]);

    sbCaption1 = new QLabel(StatusBar);
    sbCaption1->setObjectName(QStringLiteral("sbCaption1"));
    sbCaption1->setFixedWidth(50);
    sbCaption1->setToolTip(QStringLiteral("Files scanned."));

    sbCaption2 = new TBlinkingLabel(StatusBar);
    sbCaption2->setObjectName(QStringLiteral("sbCaption2"));
    sbCaption2->setToolTip(QStringLiteral("Scanning folder."));
    QPalette red = sbCaption2->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    sbCaption2->setPalette(red);

    StatusBar->addWidget(sbGlyph);
    StatusBar->addWidget(sbCaption1);
    StatusBar->addWidget(sbCaption2, 1);
}

TThreadEx& TfrmMain::HelperThread() {
    return thHelperThread->Thread();
}

void TfrmMain::SetStatus(bool busy, const QString& first, const QString& second) {
    glyphIndex_ = busy ? 1 : 0;
    sbGlyph->setPixmap(lamps_[glyphIndex_]);
    sbCaption1->setText(first);
    sbCaption2->setText(second);
    sbCaption2->SetBlinking(busy);
    QFont font = sbCaption2->font();
    font.setBold(busy);
    sbCaption2->setFont(font);
}

void TfrmMain::SetIdleStatus(const std::string& failure) {
    if (failure.empty()) {
        SetStatus(false, QStringLiteral("Ready"), QString());
    } else {
        SetStatus(false, QStringLiteral("Error"), QString::fromStdString(failure));
    }
}

void TfrmMain::ShowMessage(const QString& text) {
    if (messageSink_) {
        messageSink_(text);
    } else {
        QMessageBox::warning(this, QGuiApplication::applicationDisplayName(), text);
    }
}

void TfrmMain::SetMessageSink(std::function<void(const QString&)> sink) {
    messageSink_ = std::move(sink);
}

void TfrmMain::navMainChange(int index) {
    // Selections made before the window shows are not mirrored; both start on page 0.
    if (isVisible()) {
        pcMain->setCurrentIndex(index);
    }
}

} // namespace mirelon
