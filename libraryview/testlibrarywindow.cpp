#include "libraryview/testlibrarywindow.h"

#include "base/appicons.h"
#include "base/helptopic.h"
#include "base/messages.h"
#include "base/placement.h"
#include "base/settings.h"
#include "base/uifonts.h"
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
    CreateControls();
    CreateMenus();
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
    cboFacility = addFilter("cboFacility", QStringLiteral("&Facility:"));
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
    tblDevices->setWordWrap(false);
    tblDevices->verticalHeader()->hide();
    tblDevices->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    tblDevices->horizontalHeader()->setStretchLastSection(true);
    tblDevices->horizontalHeader()->setSortIndicatorShown(true);
    tblDevices->setSortingEnabled(true);
    tblDevices->sortByColumn(TFleetListModel::colStatus, Qt::AscendingOrder); // most urgent first
    const int widths[TFleetListModel::ColumnCount] = {18, 14, 14, 14, 14, 14, 14, 13, 11, 13, 17, 6};
    for (int column = 0; column < TFleetListModel::ColumnCount; ++column)
        tblDevices->setColumnWidth(column, widths[column] * charWidth + 12);
    connect(tblDevices->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TTestLibraryWindow::DeviceChanged);
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
    chartTrend = new TTrendChart(trendPanel);
    chartTrend->setObjectName(QStringLiteral("chartTrend"));
    chartTrend->setMinimumSize(300, 220);
    trendLayout->addLayout(settingRow);
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

void TTestLibraryWindow::ShowOutbox() {
    // Refresh is the technician's "try again": what waits goes first, through the window's library.
    TOutboxSend sent;
    if (const std::unique_ptr<TOutbox> outbox = TOutbox::Open(ProgramOutboxLocation(), sent.why)) {
        sent.waiting = static_cast<int>(outbox->Waiting(ProgramLibraryLocation()).size());
        if (sent.waiting > 0)
            if (TTestLibrary* library = ProgramLibrary(sent.why))
                sent = outbox->SendTo(*library);
    }
    lblOutbox->setText(
        sent.waiting == 0
            ? QString()
            : QStringLiteral("%1 in the outbox, waiting for the library").arg(TestCount(sent.waiting)));
    lblOutbox->setToolTip(sent.why);
}

void TTestLibraryWindow::mmRefreshClick() {
    ShowOutbox();
    QString why;
    if (TTestLibrary* library = ProgramLibrary(why)) {
        lblLibrary->setText(library->DisplayName());
        FillFilter(cboFacility, diFacility, QStringLiteral("All facilities"));
        FillFilter(cboLocation, diLocation, QStringLiteral("All locations"));
        why = library->LastError();
    } else {
        lblLibrary->setText(DisplayLocation(ProgramLibraryLocation()));
    }
    ShowProblem(why);
    const QString keep = m_shownDevice;
    m_shownDevice.clear();
    m_tests.clear(); // read again below, also for the device that stays selected
    ListFleet(keep);
}

void TTestLibraryWindow::FillFilter(QComboBox* box, TDeviceInfoSlot slot, const QString& all) {
    const QString chosen = box->currentIndex() > 0 ? box->currentText() : QString();
    QString why;
    TTestLibrary* library = ProgramLibrary(why);
    const QStringList values = library ? library->DeviceValues(slot) : QStringList();
    const QSignalBlocker quiet(box);
    box->clear();
    box->addItem(all);
    for (const QString& value : values)
        box->addItem(value.isEmpty() ? QStringLiteral("(none)") : value, value);
    box->setCurrentIndex(std::max(0, box->findData(chosen)));
    if (!chosen.isEmpty() && box->currentIndex() == 0)
        box->setCurrentIndex(std::max(0, box->findText(chosen)));
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
    ListFleet(SelectedDeviceId());
}

void TTestLibraryWindow::ListFleet(const QString& keepDevice) {
    m_fleet->SetQuery(FleetQuery(), [this](const TFleetQuery& query) {
        QString why;
        std::vector<TFleetDevice> devices;
        if (TTestLibrary* library = ProgramLibrary(why)) {
            devices = library->Fleet(query);
            why = library->LastError();
        }
        if (!why.isEmpty())
            ShowProblem(why);
        return devices;
    });
    ShowCounts();
    SelectDevice(keepDevice);
}

void TTestLibraryWindow::ShowCounts() {
    TFleetQuery query = FleetQuery();
    query.status.reset(); // the count of each status, whichever is shown
    QString why;
    TTestLibrary* library = ProgramLibrary(why);
    const auto counts = library ? library->FleetCounts(query) : std::nullopt;
    QStringList parts;
    int devices = 0;
    for (int status = 0; counts && status < FleetStatusCount; ++status) {
        devices += (*counts)[status];
        if ((*counts)[status] > 0)
            parts << QStringLiteral("%1: %2").arg(FleetStatusText(static_cast<TFleetStatus>(status))).arg((*counts)[status]);
    }
    lblCounts->setText(counts ? QStringLiteral("%1 %2%3")
                                    .arg(devices)
                                    .arg(devices == 1 ? QStringLiteral("device") : QStringLiteral("devices"))
                                    .arg(parts.isEmpty() ? QString() : QStringLiteral(" (") + parts.join(QStringLiteral(", ")) + QLatin1Char(')'))
                              : QString());
}

void TTestLibraryWindow::SelectDevice(const QString& deviceId) {
    // A device further down than the pages read so far is looked for a few pages on, if the list holds it
    // at all (asked first: each page is a query of the whole fleet).
    int row = m_fleet->Row(deviceId);
    const auto listed = [&] {
        TFleetQuery query = m_fleet->Query();
        query.deviceId = deviceId;
        query.limit = 1;
        QString why;
        TTestLibrary* library = ProgramLibrary(why);
        return library && !library->Fleet(query).empty();
    };
    if (row < 0 && !deviceId.isEmpty() && m_fleet->canFetchMore(QModelIndex()) && !listed())
        return SelectDevice(QString());
    for (int page = 0; row < 0 && !deviceId.isEmpty() && page < 10 && m_fleet->canFetchMore(QModelIndex()); ++page) {
        m_fleet->fetchMore(QModelIndex());
        row = m_fleet->Row(deviceId);
    }
    if (m_fleet->rowCount() > 0)
        tblDevices->selectRow(std::max(row, 0));
    DeviceChanged();
}

QString TTestLibraryWindow::SelectedDeviceId() const {
    const QModelIndexList rows = tblDevices->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return QString();
    return m_fleet->Device(rows.first().row()).deviceInfo[diDeviceID];
}

void TTestLibraryWindow::IntervalChanged(int months) {
    const QString deviceId = SelectedDeviceId();
    if (deviceId != m_shownDevice || m_tests.empty())
        return;
    QString why;
    if (TTestLibrary* library = ProgramLibrary(why)) {
        if (!library->SetInterval(deviceId, months == 0 ? std::nullopt : std::optional<int>(months)))
            why = library->LastError();
    }
    ShowProblem(why);
    ListFleet(deviceId); // its due date, and maybe its status and place, change
}

void TTestLibraryWindow::DeviceChanged() {
    const bool any = !tblDevices->selectionModel()->selectedRows().isEmpty();
    const QString deviceId = SelectedDeviceId();
    if (any && deviceId == m_shownDevice && !m_tests.empty())
        return;
    m_shownDevice = deviceId;
    m_tests.clear();
    {
        const QSignalBlocker quiet(spnInterval);
        const int row = m_fleet->Row(deviceId);
        spnInterval->setEnabled(any);
        spnInterval->setSpecialValueText(
            QStringLiteral("Default (%1)").arg(IntervalText(ConfiguredIntervalMonths(ProgramSettings()), true)));
        spnInterval->setValue(any && row >= 0 ? m_fleet->Device(row).ownInterval.value_or(0) : 0);
    }
    if (any) {
        QString why;
        if (TTestLibrary* library = ProgramLibrary(why)) {
            m_tests = library->List(deviceId); // a device without an ID: the tests with the empty ID
            why = library->LastError();
        }
        ShowProblem(why);
    }
    ShowTests();
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
    chartTrend->ShowTrend(m_shownDevice, setting, BuildTrend(m_tests, basis));
}

void TTestLibraryWindow::btnOpenClick() {
    const QTreeWidgetItem* item = tblTests->currentItem();
    if (item == nullptr)
        return;
    const size_t index = item->data(tcDate, TestRole).toULongLong();
    if (index >= m_tests.size())
        return;
    const TLibraryTest test = m_tests[index];
    QString why;
    std::optional<QByteArray> bytes;
    if (TTestLibrary* library = ProgramLibrary(why)) {
        bytes = library->RecordBytes(test.id);
        if (!bytes)
            why = library->LastError().isEmpty() ? QStringLiteral("The test is no longer in the library.")
                                                 : library->LastError();
    }
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
