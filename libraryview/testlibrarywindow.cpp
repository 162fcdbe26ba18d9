#include "libraryview/testlibrarywindow.h"

#include "base/appicons.h"
#include "base/focuslook.h"
#include "base/helptopic.h"
#include "base/messages.h"
#include "base/placement.h"
#include "base/settings.h"
#include "base/uifonts.h"
#include "library/libraryreads.h"
#include "library/outbox.h"
#include "library/postgresaddress.h"
#include "library/programlibrary.h"
#include "libraryview/fleetlist.h"
#include "libraryview/librarytexts.h"
#include "libraryview/trendchart.h"
#include "libraryview/trenddata.h"
#include "records/recordimage.h"
#include "report/testreportviewer.h"
#include "report/verdictchooser.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QSplitter>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <memory>

namespace {

const QString Section = QStringLiteral("TestLibraryWindow");
const QString Caption = QStringLiteral("CorvexZR Test Library");
const QSize BuiltInSize(980, 680); // within a 1366 x 768 screen with its task bar

enum TestColumn { tcDate, tcAnalyzer, tcLoads, tcVerdict, tcChoice, tcAdded, TestColumnCount };

// The key a test's row keeps its place in the device's list under.
constexpr int TestRole = Qt::UserRole;

QString TestCount(int tests) {
    return tests == 1 ? QStringLiteral("1 test") : QStringLiteral("%1 tests").arg(tests);
}

} // namespace

TTestLibraryWindow::TTestLibraryWindow(QWidget* owner) : QMainWindow(owner, Qt::Window), m_owner(owner) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("TestLibraryWindow"));
    setWindowTitle(Caption);
    setWindowIcon(AppPicture("icons/corvexzr.svg"));
    setFont(WindowFont());
    m_reads = new TLibraryReads(this);
    connect(m_reads, &TLibraryReads::SlowChanged, this, &TTestLibraryWindow::ShowWaiting);
    CreateControls();
    CreateMenus();
    // From the search straight to the devices found, then to their tests; the filters and Refresh
    // have their own keys (Alt+T, Alt+A, Alt+N, F5).
    setTabOrder(edtSearch, tblDevices);
    setTabOrder(tblDevices, tblTests);
    ApplyPlacement(*this, ReadPlacement(ProgramSettings(), Section), BuiltInSize);
    mmRefreshClick();
    // Once the window is up, and once in a run of the program.
    QTimer::singleShot(0, this, [] {
        static bool told = false;
        const QString advice = PasswordAdvice(ProgramLibraryLocation());
        if (!told && !advice.isEmpty()) {
            told = true;
            ShowMessage(advice, Caption, MsgIcon::Information);
        }
    });
}

TTestLibraryWindow::~TTestLibraryWindow() {
    SavePlacement(*this, ProgramSettings(), Section);
}

void TTestLibraryWindow::CreateControls() {
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    lblProblem = new QLabel(central);
    lblProblem->setObjectName(QStringLiteral("lblProblem"));
    lblProblem->setWordWrap(true);
    lblProblem->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblProblem->setStyleSheet(QStringLiteral("QLabel { color: #c62828; font-weight: bold; }"));
    lblProblem->hide();
    layout->addWidget(lblProblem);

    layout->addLayout(CreateSearchRow(central));
    splitMain = new QSplitter(Qt::Vertical, central);
    splitMain->setObjectName(QStringLiteral("splitMain"));
    splitMain->setChildrenCollapsible(false);
    CreateDeviceTable();
    splitDevice = new QSplitter(Qt::Horizontal, splitMain);
    splitDevice->setObjectName(QStringLiteral("splitDevice"));
    splitDevice->setChildrenCollapsible(false);
    CreateTestsPanel();
    CreateTrendPanel();
    splitDevice->setSizes({BuiltInSize.width() * 45 / 100, BuiltInSize.width() * 55 / 100});
    splitMain->setSizes({BuiltInSize.height() * 35 / 100, BuiltInSize.height() * 65 / 100});
    layout->addWidget(splitMain, 1);
    setCentralWidget(central);

    lblLibrary = new QLabel(this);
    lblLibrary->setObjectName(QStringLiteral("lblLibrary"));
    statusBar()->addWidget(lblLibrary, 1);
    lblCounts = new QLabel(this);
    lblCounts->setObjectName(QStringLiteral("lblCounts"));
    statusBar()->addWidget(lblCounts, 1);
    lblOutbox = new QLabel(this);
    lblOutbox->setObjectName(QStringLiteral("lblOutbox"));
    statusBar()->addPermanentWidget(lblOutbox);
}

QLayout* TTestLibraryWindow::CreateSearchRow(QWidget* central) {
    auto* searchRow = new QHBoxLayout;
    auto* searchCaption = new QLabel(QStringLiteral("&Search:"), central);
    edtSearch = new QLineEdit(central);
    edtSearch->setObjectName(QStringLiteral("edtSearch"));
    edtSearch->setPlaceholderText(
        QStringLiteral("Device ID, serial number, make, model, facility or location"));
    edtSearch->setClearButtonEnabled(true);
    searchCaption->setBuddy(edtSearch);
    btnRefresh = new QPushButton(QStringLiteral("Refresh"), central);
    btnRefresh->setObjectName(QStringLiteral("btnRefresh"));
    searchRow->addWidget(searchCaption);
    searchRow->addWidget(edtSearch, 1);
    const auto addFilter = [&](const char* name, const QString& caption) {
        auto* box = new QComboBox(central);
        box->setObjectName(QLatin1String(name));
        box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        auto* label = new QLabel(caption, central);
        label->setBuddy(box);
        searchRow->addWidget(label);
        searchRow->addWidget(box);
        return box;
    };
    cboStatus = addFilter("cboStatus", QStringLiteral("S&tatus:"));
    cboStatus->addItem(QStringLiteral("All devices"));
    for (int status = 0; status < FleetStatusCount; ++status)
        cboStatus->addItem(FleetStatusText(static_cast<TFleetStatus>(status)), status);
    cboFacility = addFilter("cboFacility", QStringLiteral("F&acility:"));
    cboLocation = addFilter("cboLocation", QStringLiteral("Locatio&n:"));
    searchRow->addWidget(btnRefresh);
    connect(edtSearch, &QLineEdit::textChanged, this, &TTestLibraryWindow::FiltersChanged);
    for (QComboBox* box : {cboStatus, cboFacility, cboLocation})
        connect(box, &QComboBox::activated, this, &TTestLibraryWindow::FiltersChanged);
    connect(btnRefresh, &QPushButton::clicked, this, &TTestLibraryWindow::mmRefreshClick);
    return searchRow;
}

void TTestLibraryWindow::CreateDeviceTable() {
    const int charWidth = fontMetrics().averageCharWidth();
    m_fleet = new TFleetListModel(this);
    tblDevices = new QTableView(splitMain);
    tblDevices->setObjectName(QStringLiteral("tblDevices"));
    tblDevices->setModel(m_fleet);
    tblDevices->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblDevices->setSelectionMode(QAbstractItemView::SingleSelection);
    tblDevices->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblDevices->setAlternatingRowColors(true);
    ShowFocusClearly(*tblDevices);
    tblDevices->setWordWrap(false);
    tblDevices->verticalHeader()->hide();
    tblDevices->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    tblDevices->horizontalHeader()->setStretchLastSection(true);
    tblDevices->horizontalHeader()->setSortIndicatorShown(true);
    tblDevices->setSortingEnabled(true);
    tblDevices->sortByColumn(TFleetListModel::colStatus, Qt::AscendingOrder); // most urgent first
    const int widths[TFleetListModel::ColumnCount] = {15, 12, 12, 12, 10, 12, 14, 14, 15, 13, 17, 6};
    for (int column = 0; column < TFleetListModel::ColumnCount; ++column)
        tblDevices->setColumnWidth(column, widths[column] * charWidth + 12);
    connect(tblDevices->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TTestLibraryWindow::DeviceChanged);
    connect(m_fleet, &TFleetListModel::PageArrived, this, &TTestLibraryWindow::FleetPageArrived);
}

void TTestLibraryWindow::CreateTestsPanel() {
    const int charWidth = fontMetrics().averageCharWidth();
    auto* testsPanel = new QWidget(splitDevice);
    auto* testsLayout = new QVBoxLayout(testsPanel);
    testsLayout->setContentsMargins(0, 0, 0, 0);
    testsLayout->addLayout(CreateIntervalRow(testsPanel));
    tblTests = new QTreeWidget(testsPanel);
    tblTests->setObjectName(QStringLiteral("tblTests"));
    tblTests->setRootIsDecorated(false);
    tblTests->setAlternatingRowColors(true);
    ShowFocusClearly(*tblTests);
    tblTests->setHeaderLabels({QStringLiteral("Date and Time"), QStringLiteral("Analyzer ID"),
                               QStringLiteral("Loads"), QStringLiteral("Verdict"),
                               QStringLiteral("Checked Against"), QStringLiteral("Added By")});
    const int testWidths[TestColumnCount] = {24, 14, 6, 8, 40, 24};
    for (int column = 0; column < TestColumnCount; ++column)
        tblTests->setColumnWidth(column, testWidths[column] * charWidth + 12);
    tblTests->installEventFilter(this);
    connect(tblTests, &QTreeWidget::itemDoubleClicked, this, &TTestLibraryWindow::btnOpenClick);
    auto* openRow = new QHBoxLayout;
    btnOpen = new QPushButton(AppPicture("icons/open-report.svg"), QStringLiteral("Open"), testsPanel);
    btnOpen->setObjectName(QStringLiteral("btnOpen"));
    btnOpen->setToolTip(
        QStringLiteral("Opens the selected test in a report viewer (Enter, or a double-click)"));
    connect(btnOpen, &QPushButton::clicked, this, &TTestLibraryWindow::btnOpenClick);
    connect(tblTests, &QTreeWidget::currentItemChanged, this,
            [this] { btnOpen->setEnabled(tblTests->currentItem() != nullptr); });
    openRow->addStretch(1);
    openRow->addWidget(btnOpen);
    testsLayout->addWidget(tblTests, 1);
    testsLayout->addLayout(openRow);
}

QLayout* TTestLibraryWindow::CreateIntervalRow(QWidget* panel) {
    auto* row = new QHBoxLayout;
    spnInterval = new QSpinBox(panel);
    spnInterval->setObjectName(QStringLiteral("spnInterval"));
    spnInterval->setRange(0, LongestIntervalMonths);
    spnInterval->setSuffix(QStringLiteral(" months"));
    const QString longest =
        QStringLiteral("Default (%1)").arg(IntervalText(LongestIntervalMonths, true));
    spnInterval->setMinimumWidth(spnInterval->fontMetrics().horizontalAdvance(longest) + 40);
    spnInterval->setToolTip(QStringLiteral("How often the selected device is tested: its own interval, or the "
                                           "default one of the settings ([Library] INTERVAL_MONTHS)"));
    auto* caption = new QLabel(QStringLiteral("Test &interval:"), panel);
    caption->setBuddy(spnInterval);
    row->addWidget(caption);
    row->addWidget(spnInterval);
    row->addStretch(1);
    connect(spnInterval, &QSpinBox::valueChanged, this, &TTestLibraryWindow::IntervalChanged);
    return row;
}

void TTestLibraryWindow::CreateTrendPanel() {
    auto* trendPanel = new QWidget(splitDevice);
    auto* trendLayout = new QVBoxLayout(trendPanel);
    trendLayout->setContentsMargins(0, 0, 0, 0);
    auto* settingRow = new QHBoxLayout;
    m_chooser = new TVerdictChooser(trendPanel);
    auto* settingCaption = new QLabel(QStringLiteral("&Declared energy of:"), trendPanel);
    settingCaption->setBuddy(m_chooser->ProfileBox());
    settingRow->addWidget(settingCaption);
    settingRow->addWidget(m_chooser->ProfileBox(), 1);
    settingRow->addWidget(m_chooser->EnergyBox());
    connect(m_chooser, &TVerdictChooser::Changed, this, &TTestLibraryWindow::ShowTrend);
    cboLoad = new QComboBox(trendPanel);
    cboLoad->setObjectName(QStringLiteral("cboLoad"));
    cboLoad->addItem(QStringLiteral("All loads"));
    for (int load = 0; load < LOAD_COUNT; ++load)
        cboLoad->addItem(LoadName(load), load);
    auto* loadCaption = new QLabel(QStringLiteral("&Load:"), trendPanel);
    loadCaption->setBuddy(cboLoad);
    // On a row of its own: beside the setting it would cut the longer profile names.
    auto* loadRow = new QHBoxLayout;
    loadRow->addWidget(loadCaption);
    loadRow->addWidget(cboLoad);
    loadRow->addStretch(1);
    connect(cboLoad, &QComboBox::currentIndexChanged, this, &TTestLibraryWindow::ShowTrend);
    chartTrend = new TTrendChart(trendPanel);
    chartTrend->setObjectName(QStringLiteral("chartTrend"));
    chartTrend->setMinimumSize(300, 220);
    trendLayout->addLayout(settingRow);
    trendLayout->addLayout(loadRow);
    trendLayout->addWidget(chartTrend, 1);
}

void TTestLibraryWindow::CreateMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    mmOpenTest = file->addAction(QStringLiteral("&Open Test"), this, &TTestLibraryWindow::btnOpenClick);
    mmOpenTest->setObjectName(QStringLiteral("mmOpenTest"));
    mmRefresh = file->addAction(QStringLiteral("&Refresh"), QKeySequence(Qt::Key_F5), this,
                                &TTestLibraryWindow::mmRefreshClick);
    mmRefresh->setObjectName(QStringLiteral("mmRefresh"));
    file->addSeparator();
    mmClose = file->addAction(QStringLiteral("&Close"), this, &QWidget::close);
    mmClose->setObjectName(QStringLiteral("mmClose"));
    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    mmHelp = help->addAction(QStringLiteral("&Help"), QKeySequence(Qt::Key_F1), this,
                             &TTestLibraryWindow::mmHelpClick);
    mmHelp->setObjectName(QStringLiteral("mmHelp"));
}

void TTestLibraryWindow::ShowProblem(const QString& why) {
    lblProblem->setText(why);
    lblProblem->setVisible(!why.isEmpty());
}

void TTestLibraryWindow::ShowOutbox(const TOutboxSend& sent) {
    lblOutbox->setText(
        sent.waiting == 0
            ? QString()
            : QStringLiteral("%1 in the outbox, waiting for the library").arg(TestCount(sent.waiting)));
    lblOutbox->setToolTip(sent.why);
}

void TTestLibraryWindow::mmRefreshClick() {
    // Refresh is the technician's "try again": what waits goes first, through the window's library.
    m_reads->Run(
        QStringLiteral("outbox"),
        [outbox = ProgramOutboxLocation()](TLibraryAccess& access) { return SendOutboxOn(access, outbox); },
        [this](const TOutboxSend& sent) { ShowOutbox(sent); });
    m_reads->Read(
        QStringLiteral("places"),
        [](TTestLibrary& library) {
            return std::array<QStringList, 2>{library.DeviceValues(diFacility), library.DeviceValues(diLocation)};
        },
        this, &TTestLibraryWindow::ShowPlaces);
    const QString keep = m_shownDevice;
    m_shownDevice.clear();
    m_testsAsked = false;
    m_tests.clear(); // read again below, also for the device that stays selected
    ListFleet(keep);
}

void TTestLibraryWindow::ShowPlaces(TLibraryAnswer<std::array<QStringList, 2>> answer) {
    m_libraryText = answer.library;
    if (!m_reads->Slow())
        lblLibrary->setText(m_libraryText);
    ShowProblem(answer.why);
    FillFilter(cboFacility, answer.value[0], QStringLiteral("All facilities"));
    FillFilter(cboLocation, answer.value[1], QStringLiteral("All locations"));
}

void TTestLibraryWindow::FillFilter(QComboBox* box, const QStringList& values, const QString& all) {
    const QString chosen = box->currentIndex() > 0 ? box->currentData().toString() : QString();
    const QSignalBlocker quiet(box);
    box->clear();
    box->addItem(all);
    for (const QString& value : values)
        box->addItem(value.isEmpty() ? QStringLiteral("(none)") : value, value);
    if (box->currentIndex() >= 0 && !chosen.isNull())
        box->setCurrentIndex(std::max(0, box->findData(chosen)));
}

void TTestLibraryWindow::ShowWaiting(bool waiting) {
    lblLibrary->setText(waiting ? WaitingText(ProgramLibraryLocation()) : m_libraryText);
    for (QWidget* list : {static_cast<QWidget*>(tblDevices), static_cast<QWidget*>(tblTests)}) {
        if (waiting)
            list->setCursor(Qt::BusyCursor);
        else
            list->unsetCursor();
    }
}

TFleetQuery TTestLibraryWindow::FleetQuery() const {
    TFleetQuery query;
    query.today = Today();
    query.defaultMonths = ConfiguredIntervalMonths(ProgramSettings());
    query.search = edtSearch->text();
    if (cboStatus->currentIndex() > 0)
        query.status = static_cast<TFleetStatus>(cboStatus->currentData().toInt());
    if (cboFacility->currentIndex() > 0)
        query.facility = cboFacility->currentData().toString();
    if (cboLocation->currentIndex() > 0)
        query.location = cboLocation->currentData().toString();
    return query;
}

void TTestLibraryWindow::FiltersChanged() {
    ListFleet(SelectedDeviceId(), 0); // a device the search no longer finds is not looked for further
}

void TTestLibraryWindow::ListFleet(const QString& keepDevice, int seekPages) {
    m_keepDevice = keepDevice;
    m_pagesToSeek = seekPages;
    const TFleetQuery listed = FleetQuery();
    TFleetQuery counted = listed;
    counted.status.reset(); // the count of each status, whichever is shown
    m_reads->Read(
        QStringLiteral("counts"), [counted](TTestLibrary& library) { return library.FleetCounts(counted); }, this,
        &TTestLibraryWindow::ShowCounts);
    m_fleet->SetQuery(listed, [this](const TFleetQuery& query, TFleetListModel::Done done) {
        m_reads->Read(
            QStringLiteral("fleet"), [query](TTestLibrary& library) { return library.Fleet(query); },
            [this, done = std::move(done)](TLibraryAnswer<std::vector<TFleetDevice>> answer) {
                if (!answer.why.isEmpty())
                    ShowProblem(answer.why);
                done(std::move(answer.value));
            });
    });
}

void TTestLibraryWindow::FleetPageArrived(bool first) {
    if (first && m_keepDevice.isEmpty()) { // sorted again by a column: the shown device stays
        m_keepDevice = m_shownDevice;
        m_pagesToSeek = 10;
    }
    if (!first && m_keepDevice.isEmpty())
        return; // a page the list's scrolling asked for
    const int row = m_fleet->Row(m_keepDevice);
    if (row < 0 && !m_keepDevice.isEmpty() && m_pagesToSeek > 0 && m_fleet->canFetchMore(QModelIndex())) {
        --m_pagesToSeek;
        m_fleet->fetchMore(QModelIndex());
        return;
    }
    m_pagesToSeek = 0;
    m_keepDevice.clear();
    if (m_fleet->rowCount() > 0)
        tblDevices->selectRow(std::max(row, 0));
    DeviceChanged();
}

void TTestLibraryWindow::ShowCounts(TLibraryAnswer<std::optional<std::array<int, FleetStatusCount>>> answer) {
    const std::optional<std::array<int, FleetStatusCount>>& counts = answer.value;
    QStringList parts;
    int devices = 0;
    for (int status = 0; counts && status < FleetStatusCount; ++status) {
        devices += (*counts)[status];
        if ((*counts)[status] > 0)
            parts << QStringLiteral("%1: %2")
                         .arg(FleetStatusText(static_cast<TFleetStatus>(status)))
                         .arg((*counts)[status]);
    }
    const QString list = parts.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(parts.join(QStringLiteral(", ")));
    lblCounts->setText(counts ? QStringLiteral("%1 %2%3")
                                    .arg(devices)
                                    .arg(devices == 1 ? QStringLiteral("device") : QStringLiteral("devices"))
                                    .arg(list)
                              : QString());
}

QString TTestLibraryWindow::SelectedDeviceId() const {
    const QModelIndexList rows = tblDevices->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return QString();
    return m_fleet->Device(rows.first().row()).deviceInfo[diDeviceID];
}

void TTestLibraryWindow::IntervalChanged(int months) {
    const QString deviceId = SelectedDeviceId();
    if (deviceId != m_shownDevice || !m_testsAsked)
        return;
    const std::optional<int> own = months == 0 ? std::nullopt : std::optional<int>(months);
    m_reads->Read(
        QString(), [deviceId, own](TTestLibrary& library) { return library.SetInterval(deviceId, own); },
        [this, deviceId](TLibraryAnswer<bool> answer) {
            ShowProblem(answer.why);
            ListFleet(deviceId); // its due date, and maybe its status and place, change
        });
}

void TTestLibraryWindow::DeviceChanged() {
    const bool any = !tblDevices->selectionModel()->selectedRows().isEmpty();
    const QString deviceId = SelectedDeviceId();
    if (any && deviceId == m_shownDevice && m_testsAsked)
        return;
    m_shownDevice = deviceId;
    m_testsAsked = any;
    m_tests.clear();
    {
        const QSignalBlocker quiet(spnInterval);
        const int row = m_fleet->Row(deviceId);
        spnInterval->setEnabled(any);
        spnInterval->setSpecialValueText(
            QStringLiteral("Default (%1)").arg(IntervalText(ConfiguredIntervalMonths(ProgramSettings()), true)));
        spnInterval->setValue(any && row >= 0 ? m_fleet->Device(row).ownInterval.value_or(0) : 0);
    }
    ShowTests();
    if (any) // a device without an ID: the tests with the empty ID
        m_reads->Read(
            QStringLiteral("tests"), [deviceId](TTestLibrary& library) { return library.List(deviceId); },
            [this, deviceId](TLibraryAnswer<std::vector<TLibraryTest>> answer) {
                if (deviceId != m_shownDevice)
                    return; // another device was chosen meanwhile
                m_tests = std::move(answer.value);
                ShowProblem(answer.why);
                ShowTests();
            });
}

void TTestLibraryWindow::ShowTests() {
    tblTests->clear();
    const QLocale locale;
    QList<QTreeWidgetItem*> items;
    for (size_t i = 0; i < m_tests.size(); ++i) {
        const TLibraryTest& test = m_tests[i];
        auto* item = new QTreeWidgetItem;
        item->setText(tcDate, LibraryDateTimeText(test.testedAt, locale));
        item->setText(tcAnalyzer, test.analyzerId);
        item->setText(tcLoads, QString::number(test.LoadsTested()));
        item->setTextAlignment(tcLoads, Qt::AlignRight | Qt::AlignVCenter);
        item->setText(tcChoice, ChoiceText(test.choice));
        item->setText(tcAdded, AddedText(test.added));
        item->setToolTip(tcAdded, AddedDetails(test.added, locale));
        item->setText(tcVerdict, VerdictWord(test.verdict));
        if (test.verdict != TOverallVerdict::NoCheck)
            item->setForeground(tcVerdict, VerdictColour(test.verdict));
        item->setData(tcDate, TestRole, static_cast<qulonglong>(i));
        items.append(item);
    }
    tblTests->addTopLevelItems(items);
    if (!items.isEmpty())
        tblTests->setCurrentItem(items.first());
    btnOpen->setEnabled(!items.isEmpty());
    mmOpenTest->setEnabled(!items.isEmpty());
    if (!m_tests.empty())
        m_chooser->Show(
            TrendChoice(TVerdictSettings(ProgramSettings()), m_chooser->Profiles(), m_tests.front()));
    ShowTrend();
}

void TTestLibraryWindow::ShowTrend() {
    if (m_tests.empty()) {
        chartTrend->Clear();
        return;
    }
    const std::optional<TVerdictBasis> basis = m_chooser->Basis();
    const QString setting = basis ? ChoiceText(m_chooser->Choice()) : QStringLiteral("No check");
    const QVariant load = cboLoad->currentData();
    chartTrend->ShowTrend(
        m_shownDevice, setting,
        BuildTrend(m_tests, basis, m_chooser->Profiles(),
                   load.isValid() ? std::optional(load.toInt()) : std::nullopt),
        QStringLiteral("No test of this device tested the %1 load").arg(cboLoad->currentText()));
}

void TTestLibraryWindow::btnOpenClick() {
    const QTreeWidgetItem* item = tblTests->currentItem();
    if (item == nullptr)
        return;
    const size_t index = item->data(tcDate, TestRole).toULongLong();
    if (index >= m_tests.size())
        return;
    const TLibraryTest test = m_tests[index];
    m_reads->Read(
        QString(), [id = test.id](TTestLibrary& library) { return library.RecordBytes(id); },
        [this, test](TLibraryAnswer<std::optional<QByteArray>> answer) {
            OpenTest(test, std::move(answer));
        });
}

void TTestLibraryWindow::OpenTest(const TLibraryTest& test,
                                  TLibraryAnswer<std::optional<QByteArray>> answer) {
    QString why = answer.why;
    std::optional<QByteArray>& bytes = answer.value;
    if (answer.opened && !bytes && why.isEmpty())
        why = QStringLiteral("The test is no longer in the library.");
    auto record = std::make_unique<TZRTestRec>();
    if (bytes && !DecodeTestRecord(*bytes, *record, why))
        bytes.reset();
    if (!bytes) {
        ShowMessage(why, Caption, MsgIcon::Error);
        return;
    }
    auto* viewer = new TTestReportViewer(m_owner, *record);
    viewer->MarkKept();
    if (test.choice)
        viewer->ChooseVerdict(*test.choice);
    emit ViewerOpened(viewer);
    viewer->show();
    viewer->raise();
    viewer->activateWindow();
}

void TTestLibraryWindow::mmHelpClick() {
    ShowHelpTopic(HelpTopicLibrary);
}

bool TTestLibraryWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == tblTests && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            btnOpenClick();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}
