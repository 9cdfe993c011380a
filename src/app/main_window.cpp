// TForm1: builds the panes, menus and status bar, wires the passes to the memos' edits, clicks
// and focus, and handles the window's keys before the memos see them.
#include "app/main_window.h"

#include <algorithm>
#include <filesystem>

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QEvent>
#include <QFocusEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QVBoxLayout>

#include "app/derivative_window.h"
#include "app/equivalence_window.h"
#include "app/function_table_window.h"
#include "app/function_variable_window.h"
#include "app/help_text.h"
#include "app/help_window.h"
#include "app/ini_file.h"
#include "app/status_panel.h"
#include "constants/const_table_window.h"
#include "constants/constant_list.h"
#include "constants/constant_list_window.h"
#include "conversion/conversion_table_window.h"
#include "conversion/convert_unit_window.h"
#include "conversion/graph_window.h"
#include "conversion/unit_conversion.h"
#include "interpolation/interpolation_window.h"
#include "linsys/linear_system_window.h"
#include "periodic/periodic_table_window.h"

namespace app {

namespace {

constexpr int kMinimumPane = 50;
constexpr const char* kCalculatorFileFilter = "Text files (*.txt)|*.txt|All files (*.)|*.";
constexpr int kDesignedPane = 130;
constexpr int kStep = 5;
constexpr const char* kDefinitionsText = "f(x)~Sin(x),\nFact(n)~if(eq(n,0),1,n*Fact(n-1)),\ny=1/3";

enum TPane { kDefinitionsPane = 0, kExpressionsPane = 1, kResultsPane = 2 };

QPlainTextEdit* NewMemo(QGroupBox* box) {
  auto* memo = new QPlainTextEdit(box);
  auto* layout = new QVBoxLayout(box);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addWidget(memo);
  return memo;
}

}  // namespace

// The panes as the calculator session reads and fills them. The files keep single-byte text
// with CR LF line ends; the memos hold the same text with plain line breaks.
class TForm1::TMemoPanes : public TCalculatorPanes {
 public:
  explicit TMemoPanes(TForm1& window) : window_(window) {}
  std::string DefinitionsText() const override {
    return window_.definitionsMemo_->toPlainText().toLatin1().toStdString();
  }
  std::string ExpressionsText() const override {
    return window_.expressionsMemo_->toPlainText().toLatin1().toStdString();
  }
  bool ShowDefinitions(const std::string& text) override {
    {
      const QSignalBlocker quiet(window_.definitionsMemo_);
      window_.definitionsMemo_->setPlainText(MemoText(text));
    }
    window_.Frame31Memo1Change();
    return !window_.core_.DefinitionsError;
  }
  void ShowExpressions(const std::string& text, bool run) override {
    {
      const QSignalBlocker quiet(window_.expressionsMemo_);
      window_.expressionsMemo_->setPlainText(MemoText(text));
    }
    if (run) window_.Frame41Memo1Change();
  }

 private:
  // A block read from a file ends with the line break the reader gave its last line; the memo
  // does not show it as an empty line of its own.
  static QString MemoText(const std::string& text) {
    std::string_view shown = text;
    if (shown.size() >= 2 && shown.substr(shown.size() - 2) == "\r\n") shown.remove_suffix(2);
    QString memo = QString::fromLatin1(shown.data(), static_cast<qsizetype>(shown.size()));
    memo.replace("\r\n", "\n");
    memo.replace('\r', '\n');
    return memo;
  }
  TForm1& window_;
};

TForm1::TForm1(TUserPrompt& prompt, TDataFolder dataFolder, QWidget* parent)
    : TToolWindow(parent),
      prompt_(prompt),
      dataFolder_(std::move(dataFolder)),
      core_(prompt),
      conversion_(std::make_unique<conversion::TUnitConversion>(prompt)),
      helpWindow_(std::make_unique<TForm2>(this)),
      variableWindow_(std::make_unique<TForm6>(
          core_, prompt, [this] { Frame31Memo1Change(); }, this)),
      tableWindow_(std::make_unique<TForm8>(prompt, this)),
      derivativeWindow_(std::make_unique<TForm14>(this)),
      equivalenceWindow_(std::make_unique<TForm15>(prompt, this)),
      interpolationWindow_(std::make_unique<interpolation::TForm26>(core_, prompt, this)) {
  setWindowTitle(tr("Calculator"));
  resize(300, 443);
  SetStayOnTop(true);
  constants_ = std::make_unique<constants::TConstantList>(core_, prompt_);
  constantListWindow_ = std::make_unique<constants::TForm10>(*this, *constants_, prompt_);
  BuildPanes();
  BuildMenus();
  systemSolver_ = std::make_unique<linsys::TlssForm1>(
      prompt_, [this] { return core_.GetSetting(stDetTolerance); }, this);
  // The window sees keys before the memos.
  for (QPlainTextEdit* memo : {definitionsMemo_, expressionsMemo_, resultsMemo_}) {
    memo->installEventFilter(this);
    memo->viewport()->installEventFilter(this);
  }
  connect(definitionsMemo_, &QPlainTextEdit::textChanged, this, &TForm1::Frame31Memo1Change);
  connect(expressionsMemo_, &QPlainTextEdit::textChanged, this, &TForm1::Frame41Memo1Change);
  panes_ = std::make_unique<TMemoPanes>(*this);
  session_ = std::make_unique<TCalculatorSession>(core_, *constants_, *panes_, prompt_,
                                                  dataFolder_.PathOf(TDataFile::Log));
  // The settings file is written with the start-up state when it is missing, then read.
  if (!std::filesystem::exists(dataFolder_.PathOf(TDataFile::Settings))) WriteToIniFile();
  ReadFromIniFile();
  // The definition table reads the constants file the settings named, or the default one.
  constTableWindow_ = std::make_unique<constants::TForm22>(
      *this, prompt_, dataFolder_.PathOf(TDataFile::Constants), ConstFilePath);
  // The periodic table loads the file the settings named, or the default one.
  periodic::TPeriodicLinks periodicLinks;
  periodicLinks.ShowMain = [this] { BringToFront(this); };
  periodicLinks.ShowConstants = [this] { Constants1Click(); };
  periodicLinks.AddConstant = [this](const std::string& name, const std::string& expression,
                                     const std::string& description) {
    return constantListWindow_->AddNewConstant(name, expression, description);
  };
  periodicLinks.ConvertValue = [this](const std::string& value, const std::string& statusText) {
    convertUnitWindow_->SetInput(value, statusText);
    Conversion1Click();
  };
  periodicTable_ = std::make_unique<periodic::TpteForm1>(
      prompt_, PTEFilePath, dataFolder_.PathOf(TDataFile::PeriodicTable), std::move(periodicLinks));
  // "Conv" converts through the conversion table, read from the last file of the settings.
  conversion_->Bind(core_.AppFunctions);
  conversion_->ReadAtStartUp(ConvFilePath, dataFolder_.PathOf(TDataFile::Conversion));
  // The conversion windows show that table; the conversion window follows its lock.
  conversionTableWindow_ = std::make_unique<conversion::TForm17>(*this, prompt_);
  convertUnitWindow_ = std::make_unique<conversion::TForm21>(*this, prompt_);
  conversion::TGraphLinks graphLinks;
  graphLinks.ShowDefinitions = [this] { DefConversions1Click(); };
  graphLinks.ShowMain = [this] { BringToFront(this); };
  graphLinks.ShowConversion = [this] { Conversion1Click(); };
  graphWindow_ = std::make_unique<conversion::TgrfForm3>(*conversion_, prompt_,
                                                          std::move(graphLinks));
  conversion::TConversionLinks& tableLinks = conversionTableWindow_->Links();
  tableLinks.ShowGraph = [this](std::int32_t category) {
    graphWindow_->ShowCategory(category);
    ShowOwnedWindow(graphWindow_.get());
  };
  tableLinks.UpdateGraph = [this] { graphWindow_->UpdateIfVisible(); };
}

TForm1::~TForm1() = default;

void TForm1::closeEvent(QCloseEvent* event) {
  WriteToIniFile();
  TToolWindow::closeEvent(event);
}

TWindowSettings TForm1::CurrentSettings() const {
  TWindowSettings settings;
  settings.top = y();
  settings.left = x();
  settings.height = height();
  settings.width = width();
  if (!shownOnce_) {
    // Before the first layout the splitter's sizes mean nothing yet.
    settings.memo1Height = paneHeights_ ? paneHeights_->first : kDesignedPane;
    settings.memo2Height = paneHeights_ ? paneHeights_->second : kDesignedPane;
  } else {
    const QList<int> sizes = splitter_->sizes();
    settings.memo1Height = definitionsBox_->isHidden() ? 2 : sizes[kDefinitionsPane];
    settings.memo2Height = sizes[kExpressionsPane];
  }
  settings.stayOnTop = StayOnTop();
  settings.userFunctions = Action("UserFunctions1")->isChecked();
  settings.errorMessage = Action("ErrorMessage1")->isChecked();
  settings.currencyType = Action("Currency1")->isChecked();
  settings.filePath =
      session_ != nullptr && session_->HasCalcFile ? session_->CalcFileName : dataFolder_.Folder();
  settings.convFilePath = ConvFilePath.empty() ? dataFolder_.Folder() : ConvFilePath;
  const std::string& constFilePath =
      constTableWindow_ ? constTableWindow_->Table().ConstFilePath : ConstFilePath;
  settings.constFilePath = constFilePath.empty() ? dataFolder_.Folder() : constFilePath;
  settings.pteFilePath = PTEFilePath.empty() ? dataFolder_.Folder() : PTEFilePath;
  return settings;
}

void TForm1::ApplyPaneHeights() {
  if (!paneHeights_) return;
  QList<int> sizes = splitter_->sizes();
  const int total = sizes[0] + sizes[1] + sizes[2];
  sizes[kDefinitionsPane] = std::max(paneHeights_->first, kMinimumPane);
  sizes[kExpressionsPane] = std::max(paneHeights_->second, kMinimumPane);
  sizes[kResultsPane] =
      std::max(total - sizes[kDefinitionsPane] - sizes[kExpressionsPane], kMinimumPane);
  splitter_->setSizes(sizes);
}

void TForm1::WriteToIniFile() {
  if (const auto failure =
          WriteSettings(CurrentSettings()).Save(dataFolder_.PathOf(TDataFile::Settings))) {
    prompt_.Message(*failure);
  }
}

void TForm1::ReadFromIniFile() {
  std::string error;
  const std::optional<TIniFile> file =
      TIniFile::FromFile(dataFolder_.PathOf(TDataFile::Settings), error);
  // Settings that cannot be read keep their start-up values.
  if (!file) return;
  ApplyWindowSettings(ApplySettings(CurrentSettings(), ReadSettings(*file)));
}

void TForm1::ApplyWindowSettings(const TWindowSettings& settings) {
  // A place off every screen (another monitor, another resolution) is brought back onto the
  // nearest one, so the window can always be reached.
  QRect frame(settings.left, settings.top, std::max(settings.width, minimumWidth()),
              std::max(settings.height, minimumHeight()));
  if (const QScreen* screen = QGuiApplication::screenAt(frame.center()) != nullptr
                                  ? QGuiApplication::screenAt(frame.center())
                                  : QGuiApplication::primaryScreen()) {
    const QRect available = screen->availableGeometry();
    frame.setSize(frame.size().boundedTo(available.size()));
    frame.moveLeft(
        std::clamp(frame.left(), available.left(), available.right() - frame.width() + 1));
    frame.moveTop(
        std::clamp(frame.top(), available.top(), available.bottom() - frame.height() + 1));
  }
  move(frame.topLeft());
  resize(frame.size());
  paneHeights_ = {settings.memo1Height, settings.memo2Height};
  ApplyPaneHeights();

  SetStayOnTop(settings.stayOnTop);
  Action("StayOnTop1")->setChecked(settings.stayOnTop);
  if (Action("UserFunctions1")->isChecked() != settings.userFunctions) {
    Action("UserFunctions1")->trigger();
  }
  if (Action("ErrorMessage1")->isChecked() != settings.errorMessage) {
    Action("ErrorMessage1")->trigger();
  }
  Action(settings.currencyType ? "Currency1" : "Scientific1")->setChecked(true);
  core_.CurrencyFormat = settings.currencyType;
  panels_[0]->SetPanelText(settings.currencyType ? tr("TYPE: Currency") : tr("TYPE: Scientific"));
  ConvFilePath = settings.convFilePath;
  ConstFilePath = settings.constFilePath;
  PTEFilePath = settings.pteFilePath;
  prompt_.SetInitialFolder(settings.filePath);
}

void TForm1::BuildPanes() {
  splitter_ = new QSplitter(Qt::Vertical, this);
  splitter_->setChildrenCollapsible(false);

  definitionsBox_ = new QGroupBox(tr("User variables and functions "), splitter_);
  definitionsMemo_ = NewMemo(definitionsBox_);
  QFont definitionsFont = definitionsMemo_->font();
  definitionsFont.setPixelSize(19);
  definitionsMemo_->setFont(definitionsFont);
  definitionsBox_->setAutoFillBackground(true);
  definitionsBox_->setBackgroundRole(QPalette::Midlight);
  definitionsMemo_->setPlainText(kDefinitionsText);

  expressionsBox_ = new QGroupBox(tr("Mathematical expressions"), splitter_);
  expressionsMemo_ = NewMemo(expressionsBox_);
  expressionsMemo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  QPalette green = expressionsMemo_->palette();
  green.setColor(QPalette::Base, QColor(192, 220, 192));
  expressionsMemo_->setPalette(green);

  resultsBox_ = new QGroupBox(tr("Results"), splitter_);
  resultsMemo_ = NewMemo(resultsBox_);
  resultsMemo_->setReadOnly(true);

  for (QWidget* pane :
       {static_cast<QWidget*>(definitionsBox_), static_cast<QWidget*>(expressionsBox_),
        static_cast<QWidget*>(resultsBox_)}) {
    pane->setMinimumHeight(kMinimumPane);
  }
  splitter_->setSizes({kDesignedPane, kDesignedPane, kDesignedPane});
  setCentralWidget(splitter_);

  // Panels 0 and 1 keep their widths; the last takes what is left, and never less than 50, so
  // the window is never narrower than the three together.
  const int widths[3] = {90, 220, 50};
  for (int i = 0; i < 3; ++i) {
    panels_[i] = new TStatusPanel(this);
    if (i < 2) {
      panels_[i]->setFixedWidth(widths[i]);
    } else {
      panels_[i]->setMinimumWidth(widths[i]);
      panels_[i]->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    }
    statusBar()->addWidget(panels_[i], i < 2 ? 0 : 1);
  }
  panels_[0]->SetPanelText(tr("TYPE: Scientific"));
  panels_[1]->SetPanelText(tr("History Index: 0"));
  statusBar()->setSizeGripEnabled(false);
  setMinimumWidth(statusBar()->minimumSizeHint().width());
}

void TForm1::BuildMenus() {
  auto add = [this](QMenu* menu, const QString& caption, const char* name) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    return action;
  };
  auto later = [&](QMenu* menu, const QString& caption, const char* name) {
    // Present, and enabled once the window or file behind it exists.
    add(menu, caption, name)->setEnabled(false);
  };

  QMenu* file = menuBar()->addMenu(tr("&File"));
  connect(add(file, tr("&Open"), "Open1"), &QAction::triggered, this, &TForm1::Open1Click);
  connect(add(file, tr("&Save"), "Save1"), &QAction::triggered, this, &TForm1::Save1Click);
  connect(add(file, tr("Save &As..."), "SaveAs1"), &QAction::triggered, this,
          &TForm1::SaveAs1Click);
  Action("Save1")->setEnabled(false);
  // "&Save" follows HasCalcFile whenever the menu opens.
  connect(file, &QMenu::aboutToShow, this,
          [this] { Action("Save1")->setEnabled(session_->HasCalcFile); });

  QMenu* edit = menuBar()->addMenu(tr("&Edit"));
  connect(add(edit, tr("&Clear"), "Clear1"), &QAction::triggered, this, &TForm1::Clear1Click);
  // F1 and F2 act through the items, so they do nothing while the items are disabled.
  later(edit, tr("&Undo"), "Undo1");
  Action("Undo1")->setShortcut(Qt::Key_F1);
  connect(Action("Undo1"), &QAction::triggered, this, &TForm1::Undo1Click);
  later(edit, tr("&Redo"), "Redo1");
  Action("Redo1")->setShortcut(Qt::Key_F2);
  connect(Action("Redo1"), &QAction::triggered, this, &TForm1::Redo1Click);
  connect(add(edit, tr("Clear &History"), "ClearHistory1"), &QAction::triggered, this,
          &TForm1::ClearHistory1Click);

  QMenu* view = menuBar()->addMenu(tr("&View"));
  AddStayOnTopAction(view)->setObjectName("StayOnTop1");
  QAction* userFunctions = add(view, tr("&User functions"), "UserFunctions1");
  userFunctions->setCheckable(true);
  userFunctions->setChecked(true);
  connect(userFunctions, &QAction::toggled, this, &TForm1::ToggleUserFunctions);
  QAction* errorMessage = add(view, tr("&Error message"), "ErrorMessage1");
  errorMessage->setCheckable(true);
  errorMessage->setChecked(true);
  connect(errorMessage, &QAction::toggled, this, [this](bool checked) {
    core_.ShowErrorMessages = checked;
    resultsMemo_->clear();
  });

  QMenu* functions = menuBar()->addMenu(tr("&Functions"));
  connect(add(functions, tr("&Table"), "Table1"), &QAction::triggered, this, &TForm1::Table1Click);
  connect(add(functions, tr("&Derivative"), "Derivative1"), &QAction::triggered, this,
          [this] { ShowOwnedWindow(derivativeWindow_.get()); });
  connect(add(functions, tr("&Equivalent test"), "EquivalentTest1"), &QAction::triggered, this,
          [this] { ShowOwnedWindow(equivalenceWindow_.get()); });
  connect(add(functions, tr("&Conversion"), "Conversion1"), &QAction::triggered, this,
          &TForm1::Conversion1Click);
  connect(add(functions, tr("&System Solver"), "SystemSolver1"), &QAction::triggered, this,
          [this] { ShowOwnedWindow(systemSolver_.get()); });
  connect(add(functions, tr("&Periodic Table"), "PeriodicTable1"), &QAction::triggered, this,
          [this] { ShowOwnedWindow(periodicTable_.get()); });
  connect(add(functions, tr("&Interpolation"), "Interpolation1"), &QAction::triggered, this,
          [this] { ShowOwnedWindow(interpolationWindow_.get()); });

  QMenu* options = menuBar()->addMenu(tr("&Options"));
  QMenu* format = options->addMenu(tr("&Format"));
  auto* formats = new QActionGroup(this);
  QAction* currency = add(format, tr("&Currency"), "Currency1");
  QAction* scientific = add(format, tr("&Scientific"), "Scientific1");
  for (QAction* action : {currency, scientific}) {
    action->setCheckable(true);
    formats->addAction(action);
  }
  scientific->setChecked(true);
  connect(currency, &QAction::triggered, this, [this] { SetCurrencyFormat(true); });
  connect(scientific, &QAction::triggered, this, [this] { SetCurrencyFormat(false); });
  connect(add(options, tr("&Variable"), "Variable1"), &QAction::triggered, this, [this] {
    variableWindow_->setWindowModality(Qt::ApplicationModal);
    ShowOwnedWindow(variableWindow_.get());
  });
  connect(add(options, tr("&Constants"), "Constants1"), &QAction::triggered, this,
          &TForm1::Constants1Click);
  connect(add(options, tr("D&ef constants"), "DefConstants1"), &QAction::triggered, this,
          &TForm1::DefConstants1Click);
  connect(add(options, tr("&Def conversions"), "DefConversions1"), &QAction::triggered, this,
          &TForm1::DefConversions1Click);

  QAction* help = menuBar()->addAction(tr("&Help"));
  help->setObjectName("Help1");
  connect(help, &QAction::triggered, this, &TForm1::Help1Click);
}

QAction* TForm1::Action(const QString& objectName) const {
  return findChild<QAction*>(objectName);
}

void TForm1::showEvent(QShowEvent* event) {
  TToolWindow::showEvent(event);
  if (shownOnce_) return;
  shownOnce_ = true;
  // The splitter spreads sizes set before its first layout over its real height; the stored
  // heights are laid down again now that it has one.
  ApplyPaneHeights();
  paneHeights_.reset();
  Frame31Memo1Change();
  expressionsMemo_->setFocus();
  ReadStartUpFile();
}

void TForm1::ReadStartUpFile() {
  session_->CalcFileName = dataFolder_.PathOf(TDataFile::Calculator);
  session_->HasCalcFile = true;
  if (!std::filesystem::exists(session_->CalcFileName)) session_->ScrieFisier();
  session_->HasCalcFile = true;
  if (session_->CitesteFisier()) setWindowTitle(QString::fromStdString(session_->CalcFileName));
  ShowFileState();
}

void TForm1::ShowFileState() {
  Action("Save1")->setEnabled(session_->HasCalcFile);
  Action("Undo1")->setEnabled(session_->History().UndoEnabled());
  Action("Redo1")->setEnabled(session_->History().RedoEnabled());
  panels_[1]->SetPanelText(QString::fromStdString(session_->History().IndexText()));
}

void TForm1::Open1Click() {
  setWindowTitle(tr("Calculator"));
  const std::optional<std::string> chosen = prompt_.OpenFile(kCalculatorFileFilter);
  if (chosen) {
    session_->HasCalcFile = true;
    session_->CalcFileName = *chosen;
    if (std::filesystem::exists(*chosen)) {
      if (session_->CitesteFisier()) setWindowTitle(QString::fromStdString(*chosen));
    } else {
      session_->HasCalcFile = false;
    }
    prompt_.SetInitialFolder(*chosen);
  }
  ShowFileState();
}

void TForm1::Save1Click() {
  setWindowTitle(tr("Calculator"));
  Frame31Memo1Change();
  if (!core_.DefinitionsError && session_->ScrieFisier()) {
    setWindowTitle(QString::fromStdString(session_->CalcFileName));
  }
  ShowFileState();
}

void TForm1::SaveAs1Click() {
  setWindowTitle(tr("Calculator"));
  if (const std::optional<std::string> chosen = prompt_.SaveFile(kCalculatorFileFilter)) {
    session_->HasCalcFile = true;
    session_->CalcFileName = *chosen;
    prompt_.SetInitialFolder(*chosen);
    Save1Click();
    return;
  }
  ShowFileState();
}

void TForm1::Undo1Click() {
  session_->Undo();
  ShowFileState();
}

void TForm1::Redo1Click() {
  session_->Redo();
  ShowFileState();
}

void TForm1::ClearHistory1Click() {
  session_->ClearHistory();
  ShowFileState();
}

std::string TForm1::FunctionVariableText() {
  QLineEdit* edit = variableWindow_->Edit3();
  if (!variableWindow_->isVisible() && !core_.FunctionVariable.empty()) {
    edit->setText(QString::fromStdString(core_.FunctionVariable));
  }
  return edit->text().toStdString();
}

void TForm1::Frame31Memo1Change() {
  const std::string variable = FunctionVariableText();
  if (core_.DefinitionsPass(definitionsMemo_->toPlainText().toStdString(), &variable)) {
    panels_[2]->SetPanelText(tr("Total allocated memory: %1 bytes")
                                 .arg(static_cast<qulonglong>(core_.AllocatedBytes())));
  }
  ShowResults();
}

void TForm1::Frame41Memo1Change() {
  core_.ExpressionsPass(expressionsMemo_->toPlainText().toStdString(),
                        definitionsMemo_->toPlainText().toStdString());
  ShowResults();
}

void TForm1::ShowResults() {
  QStringList lines;
  for (const std::string& line : core_.Results())
    lines << QString::fromStdString(line);
  resultsMemo_->setPlainText(lines.join('\n'));
}

void TForm1::Clear1Click() {
  session_->AddHistory();
  ShowFileState();
  resultsMemo_->clear();
  const QSignalBlocker quiet(expressionsMemo_);
  expressionsMemo_->clear();
  core_.ClearResults();
}

void TForm1::Help1Click() {
  helpWindow_->SetLines(HelpLines(*core_.DefinitionsEval));
  ShowOwnedWindow(helpWindow_.get());
}

void TForm1::Table1Click() {
  Frame31Memo1Change();
  if (const auto refusal = TableRefusal(core_)) {
    if (!refusal->empty()) prompt_.Message(*refusal);
    return;
  }
  try {
    tableWindow_->Fill(core_);
    ShowOwnedWindow(tableWindow_.get());
  } catch (const std::exception& e) {
    prompt_.Message(std::string("TForm1.Execute1Click-> ") + e.what());
  }
  panels_[2]->SetPanelText(
      tr("Total allocated memory: %1 bytes").arg(static_cast<qulonglong>(core_.AllocatedBytes())));
}

void TForm1::Constants1Click() {
  ShowOwnedWindow(constantListWindow_.get());
}

void TForm1::DefConstants1Click() {
  ShowOwnedWindow(constTableWindow_.get());
}

void TForm1::Conversion1Click() {
  ShowOwnedWindow(convertUnitWindow_.get());
}

void TForm1::DefConversions1Click() {
  ShowOwnedWindow(conversionTableWindow_.get());
}

void TForm1::SetCurrencyFormat(bool currency) {
  Action(currency ? "Currency1" : "Scientific1")->setChecked(true);
  core_.CurrencyFormat = currency;
  panels_[0]->SetPanelText(currency ? tr("TYPE: Currency") : tr("TYPE: Scientific"));
  Frame41Memo1Change();
}

void TForm1::ToggleUserFunctions(bool shown) {
  // A hidden pane takes no room here (the 2-pixel strip of a shrunk group box is simply gone),
  // so the expressions pane gains and gives back the remembered height itself.
  QList<int> sizes = splitter_->sizes();
  if (!shown) {
    const int height = sizes[kDefinitionsPane];
    rememberedDefinitionsHeight_ = height <= 2 ? kMinimumPane : height;
    sizes[kExpressionsPane] += rememberedDefinitionsHeight_;
    sizes[kDefinitionsPane] = 0;
    definitionsBox_->hide();
  } else {
    sizes[kExpressionsPane] =
        std::max(kMinimumPane, sizes[kExpressionsPane] - rememberedDefinitionsHeight_);
    sizes[kDefinitionsPane] = rememberedDefinitionsHeight_;
    definitionsBox_->show();
  }
  splitter_->setSizes(sizes);
}

void TForm1::EnterMemo(QPlainTextEdit* memo) {
  if (passRunning_ || memo == resultsMemo_) return;
  passRunning_ = true;
  Frame31Memo1Change();
  if (memo == expressionsMemo_) Frame41Memo1Change();
  passRunning_ = false;
}

void TForm1::ResizePane(int pane, int delta) {
  QList<int> sizes = splitter_->sizes();
  if (sizes[pane] + delta < kMinimumPane || sizes[kResultsPane] - delta < kMinimumPane) return;
  sizes[pane] += delta;
  sizes[kResultsPane] -= delta;
  splitter_->setSizes(sizes);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  QPlainTextEdit* memo = nullptr;
  for (QPlainTextEdit* candidate : {definitionsMemo_, expressionsMemo_, resultsMemo_}) {
    if (watched == candidate || watched == candidate->viewport()) memo = candidate;
  }
  if (memo == nullptr) return TToolWindow::eventFilter(watched, event);

  // Entering or clicking a memo recomputes, as typing does. Focus that comes back when a
  // window or a message box closes is no entry, and a click's own focus change is left to the
  // click, so that one action runs the passes once.
  if (event->type() == QEvent::FocusIn && watched == memo) {
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
        reason != Qt::MouseFocusReason) {
      EnterMemo(memo);
    }
    return false;
  }
  if (event->type() == QEvent::MouseButtonPress && watched == memo->viewport()) {
    EnterMemo(memo);
    return false;
  }
  if (event->type() != QEvent::KeyPress || watched != memo) return false;

  const auto* key = static_cast<QKeyEvent*>(event);
  const Qt::KeyboardModifiers modifiers =
      key->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
  const bool keypad = key->modifiers().testFlag(Qt::KeypadModifier);
  const int sign = key->key() == Qt::Key_Plus ? 1 : key->key() == Qt::Key_Minus ? -1 : 0;
  if (!keypad || sign == 0) return false;
  if (modifiers == (Qt::ControlModifier | Qt::ShiftModifier)) {
    resize(width() + sign * kStep, height());
    return true;
  }
  if (modifiers == Qt::ControlModifier) {
    if (memo == definitionsMemo_) {
      ResizePane(kDefinitionsPane, sign * kStep);
    } else if (memo == expressionsMemo_) {
      ResizePane(kExpressionsPane, sign * kStep);
    } else {
      resize(width(), height() + sign * kStep);
    }
    return true;
  }
  return false;
}

}  // namespace app
