#include "qt/main_window.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QGridLayout>
#include <QShortcut>
#include <QStyledItemDelegate>
#include <QPainter>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QFileDialog>
#include <QFontInfo>
#include <QScrollBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTime>
#include <cmath>
#include <cstdio>
#include <iterator>

#include "app/names.h"
#include "app/script.h"
#include "engine/kaiseki.h"
#include "qt/art/art.h"
#include "qt/rules_help.h"

namespace mirado::qt {

namespace {

QString q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// The controls' widgets keep the object names the window has always given them.
constexpr const char* kControlObjectNames[] = {
    "AICON_MAN1", "AICON_MAN2", "AICON_COM", "Drive1",   "Dir1",     "File1",    "Text1",   "Text2",
    "Text3",      "Text4",      "Label1_0",  "Label1_1", "Label1_2", "Label1_3", "Command1"};
static_assert(std::size(kControlObjectNames) == static_cast<std::size_t>(Control::COUNT));

struct MenuItem {
  Menu id;
  const char* caption;
  Menu parent;  // Menu::COUNT for the menu bar
  bool checkable;
};

// The menu bar, in order; a parent is listed before its children.
constexpr MenuItem kMenus[] = {
    {Menu::TAIKYOKU, "対局", Menu::COUNT, false},
    {Menu::MATCH_MAN, "対局(人間)", Menu::TAIKYOKU, false},
    {Menu::START, "スタート", Menu::MATCH_MAN, false},
    {Menu::START2, "対局(COM)", Menu::TAIKYOKU, false},
    {Menu::SENTE, "先手", Menu::START2, false},
    {Menu::GOTE, "後手", Menu::START2, false},
    {Menu::TSUZUKI, "続きから", Menu::TAIKYOKU, false},
    {Menu::LEVEL, "COM対局ﾚﾍﾞﾙ", Menu::TAIKYOKU, false},
    {Menu::LEVEL1, "LEVEL1", Menu::LEVEL, true},
    {Menu::LEVEL2, "LEVEL2", Menu::LEVEL, true},
    {Menu::LEVEL3, "LEVEL3", Menu::LEVEL, true},
    {Menu::LEVEL4, "LEVEL4", Menu::LEVEL, true},
    {Menu::LEVEL5, "LEVEL5", Menu::LEVEL, true},
    {Menu::OWARI, "終わり", Menu::TAIKYOKU, false},
    {Menu::STOP, "局面", Menu::COUNT, false},
    {Menu::CANCEL, "最初", Menu::STOP, false},
    {Menu::REVERSE, "反転", Menu::STOP, false},
    {Menu::REPLAY, "戻", Menu::COUNT, false},
    {Menu::AFTER, "進", Menu::COUNT, false},
    {Menu::LBEL_UP, "△", Menu::COUNT, false},
    {Menu::LEBEL_DOWN, "▽", Menu::COUNT, false},
    {Menu::KIFU, "棋譜", Menu::COUNT, false},
    {Menu::KIFU_READ, "読込", Menu::KIFU, false},
    {Menu::KIFU_WRITE, "書込", Menu::KIFU, false},
    {Menu::OPTION, "ｵﾌﾟｼｮﾝ", Menu::COUNT, false},
    {Menu::HAIKEI_GA, "背景画", Menu::OPTION, false},
    {Menu::MIDORI, "英国", Menu::HAIKEI_GA, true},
    {Menu::UCHU, "ヌバラ", Menu::HAIKEI_GA, true},
    {Menu::TATAMI, "美女１", Menu::HAIKEI_GA, true},
    {Menu::TAKE, "美女２", Menu::HAIKEI_GA, true},
    {Menu::RENGA, "美女３", Menu::HAIKEI_GA, true},
    {Menu::SIDOU, "移動指導", Menu::OPTION, true},
    {Menu::KEIKA, "経過時間", Menu::OPTION, true},
    {Menu::BGM, "BGM", Menu::OPTION, true},
    {Menu::AICON, "ｱｲｺﾝ", Menu::OPTION, true},
    {Menu::CHOKUZEN, "直前の手", Menu::OPTION, true},
    {Menu::ICHIRAN, "棋譜一覧", Menu::OPTION, true},
    {Menu::KAISEKI_ZU, "解析グラフ", Menu::OPTION, true},
    {Menu::NARI_KAKUNIN, "成りを確認", Menu::OPTION, true},
    {Menu::COM_HYOUJI, "COMの手の表示", Menu::OPTION, false},
    {Menu::HYOUJUN, "標準", Menu::COM_HYOUJI, true},
    {Menu::HAYAI, "速い", Menu::COM_HYOUJI, true},
    {Menu::SHOURYAKU, "省略", Menu::COM_HYOUJI, true},
    {Menu::KOURYO, "COMの考慮時間", Menu::OPTION, false},
    {Menu::KOURYO_025, "0.25秒", Menu::KOURYO, true},
    {Menu::KOURYO_1, "1秒", Menu::KOURYO, true},
    {Menu::KOURYO_3, "3秒", Menu::KOURYO, true},
    {Menu::HELP, "ﾍﾙﾌﾟ", Menu::COUNT, false},
    {Menu::ASOBIKATA, "遊び方", Menu::HELP, false},
    {Menu::HINT, "ﾋﾝﾄ", Menu::HELP, false},
    {Menu::KAISEKI, "解析", Menu::HELP, false},
    {Menu::VER, "その他", Menu::COUNT, false},
};


// The move list's class column: the analysis' mark at the right end of a row, in the
// class's colour, apart from the row's own text.
constexpr int kRuiRole = Qt::UserRole + 1;

QColor rui_iro(int rui, int alpha = 255) {
  const unsigned c = TE_RUI_IRO[std::clamp(rui, 0, TE_RUI_SU - 1)];
  return QColor(static_cast<int>(c >> 16), static_cast<int>((c >> 8) & 0xFF), static_cast<int>(c & 0xFF), alpha);
}

class RuiDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* p, const QStyleOptionViewItem& o, const QModelIndex& i) const override {
    const int rui = i.data(kRuiRole).toInt();
    if (rui > 0) p->fillRect(o.rect, rui_iro(rui, 60));
    QStyledItemDelegate::paint(p, o, i);
    if (rui <= 0) return;
    // The column stays at the list's right edge however far a long row is scrolled.
    const auto* view = qobject_cast<const QAbstractItemView*>(o.widget);
    const int right = view ? view->viewport()->width() : o.rect.right();
    p->save();
    QFont f = o.font;
    f.setBold(true);
    p->setFont(f);
    const QString mark = QString::fromUtf8(te_rui_shirushi(static_cast<TeRui>(rui)));
    const int w = p->fontMetrics().horizontalAdvance(QStringLiteral("??")) + 8;
    const QRect cell(right - w, o.rect.top(), w, o.rect.height());
    p->fillRect(cell, o.palette.base());
    p->fillRect(cell, rui_iro(rui, 60));
    p->setPen(rui_iro(rui));
    p->drawText(cell, Qt::AlignCenter, mark);
    p->restore();
  }
};

bool has_children(Menu m) {
  for (const MenuItem& i : kMenus)
    if (i.parent == m) return true;
  return false;
}

}  // namespace

WindowClock::WindowClock() : anchor_(QTime::currentTime().msecsSinceStartOfDay() / 1000.0) { elapsed_.start(); }

double WindowClock::now() { return std::fmod(anchor_ + elapsed_.nsecsElapsed() / 1e9, 86400.0); }

WindowClock::~WindowClock() { join_all(); }

void WindowClock::ato_de(double seconds, std::function<void()> step) {
  const int ms = static_cast<int>(std::lround(seconds * 1000));
  QTimer::singleShot(ms, Qt::PreciseTimer, owner, [this, step = std::move(step)] { run(step); });
}

void WindowClock::betsu_de(std::function<void()> work, std::function<void()> done) {
  const int id = next_worker_++;
  workers_[id] = std::thread([this, id, work = std::move(work), done = std::move(done)] {
    work();
    // The answer is handed to the window's thread, which first lets this thread go.
    QMetaObject::invokeMethod(owner, [this, id, done] {
      if (auto it = workers_.find(id); it != workers_.end()) {
        it->second.join();
        workers_.erase(it);
      }
      run(done);
    }, Qt::QueuedConnection);
  });
}

void WindowClock::join_all() {
  for (auto& [id, t] : workers_) t.join();
  workers_.clear();
}

MainWindow::MainWindow(SoundLib* sound) {
  setWindowTitle(QStringLiteral("ミラド 将棋"));
  surface_ = new Surface(this);
  build_status_and_list();
  clock_.owner = this;
  clock_.run = [this](const std::function<void()>& step) { run_step(step); };
  game_ = std::make_unique<Game>(Ports{surface_, this, &clock_, sound, nullptr});
  menuBar()->setNativeMenuBar(false);  // the bare commands 戻 進 △ ▽ must work everywhere
  build_menus();
  build_controls();
  poll_.setInterval(100);
  connect(&poll_, &QTimer::timeout, this, [this] { handle([&] { game_->hint_kaiseki().on_poll(); }); });
  timer1_.setInterval(50);
  // The clocks tick whatever the window is doing, a box up included.
  connect(&timer1_, &QTimer::timeout, this, [this] {
    if (closing_) return;
    game_->ban_gamen().timer_tick();
    surface_->flush();
  });
  qApp->installEventFilter(this);
  close_watch_ = std::make_unique<CloseRequestWatch>(this, [this] { request_close(); });
  const bool trace = qEnvironmentVariableIsSet("MIRADO_TRACE_INPUT");
  connect(surface_, &Surface::pressed, this, [this, trace](int button, int x, int y) {
    QElapsedTimer since_press;
    since_press.start();
    handle([&] { game_->on_mouse_down(button, 0, x, y); });
    // How long a press takes to reach the screen, for whoever measures the window.
    if (trace) std::fprintf(stderr, "press handled and shown in %.2f ms\n", since_press.nsecsElapsed() / 1e6);
  });
}

MainWindow::~MainWindow() {
  qApp->removeEventFilter(this);
  clock_.join_all();  // a search told to stop ends within milliseconds
}

void MainWindow::handle(const std::function<void()>& f) {
  // One event at a time; none while the game plays on by itself.
  if (busy_ || closing_ || game_->machichu()) return;
  after(f);
}

void MainWindow::run_step(const std::function<void()>& f) {
  if (closing_) return;
  if (busy_) {
    // A box of an event is up: the step follows once it is answered.
    QTimer::singleShot(10, this, [this, f] { run_step(f); });
    return;
  }
  after(f);
}

void MainWindow::after(const std::function<void()>& f) {
  busy_ = true;
  f();
  // The last step of the game's own brings the window up to date as an event does.
  if (!game_->machichu()) game_->ibento_owari();
  // A menu's own check toggling must not outlive the game's decision.
  for (const MenuItem& i : kMenus)
    if (i.checkable) actions_[static_cast<int>(i.id)]->setChecked(game_->kirikae().is_checked(i.id));
  surface_->flush();
  busy_ = false;
  if (close_pending_ && !closing_) {
    close_pending_ = false;
    after([&] { game_->on_close(); });
  }
}

void MainWindow::request_close() {
  if (closing_) return;
  if (busy_) {
    close_pending_ = true;
    // A box waiting for its answer takes its safe one, so the close goes on at once.
    if (box_safe_) QMetaObject::invokeMethod(box_safe_.data(), &QAbstractButton::click, Qt::QueuedConnection);
    return;
  }
  // Heard at every moment, the computer's turn included: the game gives up what it plays.
  after([&] { game_->on_close(); });
}

QSize MainWindow::initial_size() const {
  const QSize want(Surface::kBaseW + (ichiran_->isHidden() ? 0 : ichiran_->width()),
                   Surface::kBaseH + kStatusH + menuBar()->sizeHint().height());
  const QScreen* s = screen();
  if (!s) return want;
  // Leave room for the window manager's frame and a panel.
  const QSize room = s->availableGeometry().size() - QSize(16, 48);
  if (room.width() >= want.width() && room.height() >= want.height()) return want;
  return want.scaled(room.expandedTo(minimumSizeHint()), Qt::KeepAspectRatio);
}

void MainWindow::start_up() {
  handle([&] { game_->on_load(static_cast<std::intptr_t>(winId())); });
}

bool MainWindow::apply_event(const std::string& line) {
  std::string error;
  const auto e = parse_event(line, error);
  if (!e) return false;
  using Kind = ScriptEvent::Kind;
  switch (e->kind) {
    case Kind::menu: handle([&] { game_->on_menu(e->menu); }); break;
    case Kind::press: handle([&] { game_->on_mouse_down(e->button, 0, e->x, e->y); }); break;
    case Kind::key: handle([&] { game_->on_key(e->key); }); break;
    case Kind::text:
      set_text(panel_text_box(e->text_no), e->value);
      game_->kifu_panel().text_kaeru(e->text_no, e->value);
      break;
    case Kind::dir: handle([&] { game_->kifu_panel().panel_dir_change(e->value); }); break;
    case Kind::click: handle([&] { game_->kifu_panel().panel_write_click(); }); break;
    case Kind::file: handle([&] { game_->kifu_panel().panel_file_click(e->value); }); break;
    // Boxes are answered at once and the window keeps real time: nothing to do.
    case Kind::answer: case Kind::clock: case Kind::wait: break;
  }
  return true;
}

void MainWindow::build_menus() {
  std::map<Menu, QMenu*> menus;
  for (const MenuItem& item : kMenus) {
    QAction* act = nullptr;
    const QString caption = QString::fromUtf8(item.caption);
    if (has_children(item.id)) {
      QMenu* m = item.parent == Menu::COUNT ? menuBar()->addMenu(caption) : menus[item.parent]->addMenu(caption);
      menus[item.id] = m;
      act = m->menuAction();
      const Menu id = item.id;
      if (item.parent == Menu::COUNT)
        connect(m, &QMenu::aboutToShow, this, [this, id] { handle([&] { game_->on_menu(id); }); });
    } else {
      act = item.parent == Menu::COUNT ? menuBar()->addAction(caption) : menus[item.parent]->addAction(caption);
      act->setCheckable(item.checkable);
      const Menu id = item.id;
      if (id == Menu::ASOBIKATA)  // the rules are the window's own page: the game is not asked
        connect(act, &QAction::triggered, this, [this] { RulesHelp::show_rules_help(this); });
      else
        connect(act, &QAction::triggered, this, [this, id] { handle([&] { game_->on_menu(id); }); });
    }
    act->setObjectName(QString::fromLatin1(menu_name(item.id)));
    actions_[static_cast<int>(item.id)] = act;
  }
  add_file_dialogs(menus[Menu::KIFU]);
}

// Besides the panel, the desktop's own file dialog, starting in the panel's folder; the
// game checks the file as the panel would.
void MainWindow::add_file_dialogs(QMenu* kifu) {
  const QString filter = QStringLiteral("棋譜 (*.棋譜)");
  kifu->addSeparator();
  QAction* hiraku = kifu->addAction(QStringLiteral("開く…"));
  hiraku->setObjectName(QStringLiteral("KIFU_OPEN_DIALOG"));
  connect(hiraku, &QAction::triggered, this, [this, filter] {
    handle([&] {
      game_->kifu_panel().kifu_dialog_mae(false);
      const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("棋譜を開く"),
                                                        q(game_->kifu_panel().dir_path()), filter);
      if (!path.isEmpty()) game_->kifu_panel().kifu_dialog_hiraku(path.toStdString());
    });
  });
  QAction* hozon = kifu->addAction(QStringLiteral("名前を付けて保存…"));
  hozon->setObjectName(QStringLiteral("KIFU_SAVE_DIALOG"));
  connect(hozon, &QAction::triggered, this, [this, filter] {
    handle([&] {
      if (!game_->kifu_panel().kifu_dialog_mae(true)) return;
      // The game asks itself before it replaces a file, saying what the file holds.
      const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("名前を付けて保存"),
                                                        q(game_->kifu_panel().dir_path()), filter, nullptr,
                                                        QFileDialog::DontConfirmOverwrite);
      if (!path.isEmpty()) game_->kifu_panel().kifu_nazuke_hozon(path.toStdString());
    });
  });
}

void MainWindow::build_controls() {
  auto add = [&](Control c, QWidget* w, QRect twips) {
    w->setObjectName(QString::fromLatin1(kControlObjectNames[static_cast<int>(c)]));
    w->hide();
    controls_[static_cast<int>(c)] = w;
    geometry_[c] = twips;
  };
  // Player icons: pictures that let presses through to the board below.
  const int icons[] = {0, 1, 2};
  const Control icon_controls[] = {Control::AICON_MAN1, Control::AICON_MAN2, Control::AICON_COM};
  for (int i : icons) {
    auto* l = new QLabel(surface_);
    l->setAttribute(Qt::WA_TransparentForMouseEvents);
    l->setScaledContents(true);
    l->setPixmap(QPixmap::fromImage(art::icon(i, devicePixelRatioF() * 2)));
    add(icon_controls[i], l, QRect(3600, 6000, 480, 480));
  }
  auto* drive = new QComboBox(surface_);
  add(Control::PANEL_DRIVE_LIST, drive, QRect(240, 360, 2535, 300));
  auto* dir = new QListWidget(surface_);
  add(Control::PANEL_DIR_LIST, dir, QRect(240, 600, 2535, 1710));
  auto* file = new QListWidget(surface_);
  add(Control::PANEL_FILE_LIST, file, QRect(240, 2280, 2535, 930));
  const struct {
    Control label, text;
    const char* caption;
    int top, n;
  } rows[] = {{Control::PANEL_TITLE_LABEL, Control::PANEL_TITLE, "対 局 名：", 2400, 2},
              {Control::PANEL_SENTE_LABEL, Control::PANEL_SENTE_NAME, "先    手 ：", 2640, 3},
              {Control::PANEL_GOTE_LABEL, Control::PANEL_GOTE_NAME, "後    手 ：", 2880, 4},
              {Control::PANEL_FILE_NAME_LABEL, Control::PANEL_FILE_NAME, "ﾌｧｲﾙ名 ：", 3120, 1}};
  for (const auto& r : rows) {
    auto* label = new QLabel(QString::fromUtf8(r.caption), surface_);
    label->setAutoFillBackground(true);  // a caption box of its own, readable over the board
    add(r.label, label, QRect(120, r.top, 855, 255));
    auto* edit = new QLineEdit(surface_);
    add(r.text, edit, QRect(960, r.top, 2295, 270));
    const int n = r.n;
    connect(edit, &QLineEdit::textEdited, this, [this, n](const QString& s) {
      game_->kifu_panel().text_kaeru(n, s.toStdString());
    });
    // Enter after typing the file name saves, as the button does.
    if (n == 1)
      connect(edit, &QLineEdit::returnPressed, this, [this] { handle([&] { game_->kifu_panel().panel_write_click(); }); });
  }
  auto* button = new QPushButton(QStringLiteral("RETURN"), surface_);
  add(Control::PANEL_WRITE_BUTTON, button, QRect(3360, 3000, 855, 375));

  connect(drive, &QComboBox::activated, this, [this, drive](int index) {
    if (index >= 0) handle([&] { game_->kifu_panel().panel_drive_change(drive->itemText(index).toStdString()); });
  });
  connect(dir, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
    handle([&] { game_->kifu_panel().panel_dir_change(item->text().toStdString()); });
  });
  connect(file, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    handle([&] { game_->kifu_panel().panel_file_click(item->text().toStdString()); });
  });
  connect(button, &QPushButton::clicked, this, [this] { handle([&] { game_->kifu_panel().panel_write_click(); }); });
  place_controls();
}

void MainWindow::build_status_and_list() {
  auto* central = new QWidget(this);
  auto* grid = new QGridLayout(central);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setSpacing(0);
  grid->addWidget(surface_, 0, 0);
  ichiran_ = new QListWidget(central);
  ichiran_->setObjectName(QStringLiteral("Ichiran"));
  ichiran_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  ichiran_->setFixedWidth(kIchiranW);
  // A turn's three moves are read whole: rows wrap at the spaces between moves.
  ichiran_->setWordWrap(true);
  ichiran_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  ichiran_->setTextElideMode(Qt::ElideNone);
  ichiran_->hide();
  grid->addWidget(ichiran_, 0, 1);
  ichiran_->setItemDelegate(new RuiDelegate(ichiran_));
  graph_ = new KaisekiGraph(central);
  graph_->hide();
  grid->addWidget(graph_, 1, 0, 1, 2);
  connect(graph_, &KaisekiGraph::turn_clicked, this, [this](int turn) {
    handle([&] { game_->kaiseki_zu_click(turn); });
  });
  status_ = new QLabel(central);
  status_->setObjectName(QStringLiteral("Status"));
  status_->setFixedHeight(kStatusH);
  // A long line must never widen the window: it is cut at the window's edge, and the
  // whole of it is the label's tooltip.
  status_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
  status_->setMinimumWidth(0);
  status_->setContentsMargins(6, 0, 6, 0);
  status_px_ = QFontInfo(status_->font()).pixelSize();
  grid->addWidget(status_, 2, 0, 1, 2);
  grid->setColumnStretch(0, 1);
  grid->setRowStretch(0, 1);
  setCentralWidget(central);
  // A row clicked steps the game there as 戻 or 進 would.
  // With Shift or Ctrl the click only extends the selection, for copying.
  connect(ichiran_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    if (QApplication::keyboardModifiers() & (Qt::ShiftModifier | Qt::ControlModifier)) return;
    const int row = ichiran_->row(item);
    handle([&] { game_->ichiran_click(row); });
  });
  auto* copy = new QShortcut(QKeySequence::Copy, ichiran_);
  copy->setContext(Qt::WidgetShortcut);
  connect(copy, &QShortcut::activated, this, [this] { copy_move_list(); });
}

void MainWindow::set_status_scale(double scale) {
  status_->setFixedHeight(static_cast<int>(std::lround(kStatusH * scale)));
  status_px_ = std::max(8, static_cast<int>(std::lround(13 * scale)));
  status_awaseru();
}

namespace {

// The largest letters, from `px` down to a floor, in which `text` fits `width`.
int hairu_px(QFont f, int px, const QString& text, int width) {
  for (; px > 7; --px) {
    f.setPixelSize(px);
    if (QFontMetrics(f).horizontalAdvance(text) <= width) break;
  }
  return px;
}

}  // namespace

// A long status line takes smaller letters rather than lose its end.
void MainWindow::status_awaseru() {
  QFont f = status_->font();
  const int width = status_->contentsRect().width();
  const int px = width > 0 ? hairu_px(f, status_px_, status_->text(), width) : status_px_;
  if (f.pixelSize() == px) return;
  f.setPixelSize(px);
  status_->setFont(f);
}

// The list grows with the picture, letters and width alike, so that a row that fits at
// the design size never wraps at a larger one. Its share is worked out from the window's
// size alone: the picture takes what the list leaves, and the two never chase each other.
void MainWindow::ichiran_awaseru() {
  const int menus = menuBar()->isVisible() ? menuBar()->height() : 0;
  const int below = status_->height() + (graph_->isHidden() ? 0 : graph_->height());
  const double s = std::max(1.0, std::min(width() / double(Surface::kBaseW + kIchiranW),
                                          (height() - menus - below) / double(Surface::kBaseH)));
  const int w = static_cast<int>(std::lround(kIchiranW * s));
  if (ichiran_->width() != w) ichiran_->setFixedWidth(w);
  QFont f = ichiran_->font();
  const int px = static_cast<int>(std::lround(13 * s));
  if (f.pixelSize() == px) return;
  f.setPixelSize(px);
  ichiran_->setFont(f);
}

// No larger than the screen's free area leaves room for, frame and panel included.
QSize MainWindow::gamen_ni_osamaru(QSize want) const {
  const QScreen* s = screen();
  if (!s) return want;
  const QSize room = s->availableGeometry().size() - QSize(16, 48);
  return want.boundedTo(room.expandedTo(minimumSizeHint()));
}

void MainWindow::copy_move_list() {
  QStringList rows;
  for (int i = 0; i < ichiran_->count(); ++i)
    if (ichiran_->item(i)->isSelected()) rows << ichiran_->item(i)->text();
  if (rows.isEmpty() && ichiran_->currentItem()) rows << ichiran_->currentItem()->text();
  QApplication::clipboard()->setText(rows.join(QLatin1Char('\n')) + QLatin1Char('\n'));
}

void MainWindow::set_status(std::string_view utf8) {
  status_->setText(q(utf8));
  status_->setToolTip(q(utf8));
  status_awaseru();
}

void MainWindow::set_ichiran(bool shown, const std::vector<std::string>& rows, int current) {
  bool same = ichiran_->count() == static_cast<int>(rows.size());
  for (int i = 0; same && i < ichiran_->count(); ++i) same = ichiran_->item(i)->text() == q(rows[i]);
  if (!same) {
    ichiran_->clear();
    for (const std::string& r : rows) ichiran_->addItem(q(r));
    rui_nuru();
  }
  // A selection made for copying stays until the current row moves.
  if (current >= 0 && current < ichiran_->count()) {
    if (!same || ichiran_->currentRow() != current) ichiran_->setCurrentRow(current);
    ichiran_->scrollToItem(ichiran_->item(current));
  } else {
    ichiran_->setCurrentRow(-1);
    ichiran_->clearSelection();
  }
  if (shown == !ichiran_->isHidden() || !isVisible()) {
    ichiran_->setVisible(shown);
    return;
  }
  // The window grows to hold the list, and gives its width back when it goes.
  const int dw = ichiran_->width();
  ichiran_->setVisible(shown);
  if (isMaximized() || isFullScreen()) return;
  if (shown) resize(gamen_ni_osamaru(QSize(width() + dw, height())));
  else resize(width() - dw, height());
}

void MainWindow::rui_nuru() {
  for (int i = 0; i < ichiran_->count(); ++i) {
    const int rui = i < static_cast<int>(ichiran_rui_.size()) ? ichiran_rui_[static_cast<std::size_t>(i)] : 0;
    QListWidgetItem* item = ichiran_->item(i);
    item->setData(kRuiRole, rui);
    item->setToolTip(rui > 0 ? QString::fromUtf8(te_rui_mei(static_cast<TeRui>(rui))) : QString());
  }
}

void MainWindow::set_ichiran_rui(const std::vector<int>& rui) {
  ichiran_rui_ = rui;
  rui_nuru();
}

void MainWindow::graph_takasa() {
  graph_->setFixedHeight(std::max(60, static_cast<int>(std::lround(width() * 0.2))));
}

void MainWindow::set_kaiseki_zu(const KaisekiZu& zu) {
  const bool shown = !zu.kachi.empty();
  graph_->set_zu(zu);
  if (shown == !graph_->isHidden()) return;
  graph_takasa();
  const int dh = graph_->height();
  graph_->setVisible(shown);
  // The window grows to hold the graph, and gives its height back when it goes.
  if (!isVisible() || isMaximized() || isFullScreen()) return;
  if (shown) resize(gamen_ni_osamaru(QSize(width(), height() + dh)));
  else resize(width(), height() - dh);
}

void MainWindow::set_poll(bool on) {
  if (on) poll_.start();
  else poll_.stop();
}

void MainWindow::place_controls() {
  const double s = surface_->scale();
  for (const auto& [c, r] : geometry_) {
    QWidget* w = controls_[static_cast<int>(c)];
    const QPoint tl = surface_->to_logical(r.left(), r.top());
    w->setGeometry(tl.x(), tl.y(), std::max(1, static_cast<int>(std::lround(r.width() / 15.0 * s))),
                   std::max(1, static_cast<int>(std::lround(r.height() / 15.0 * s))));
    QFont f(QStringLiteral("ＭＳ Ｐ明朝"));
    f.setPixelSize(std::max(6, static_cast<int>(std::lround(11 * s))));
    w->setFont(f);
  }
}

void MainWindow::resizeEvent(QResizeEvent* e) {
  QMainWindow::resizeEvent(e);
  graph_takasa();
  place_controls();
  ichiran_awaseru();
  status_awaseru();
}

void MainWindow::set_checked(Menu item, bool checked) {
  if (QAction* a = actions_[static_cast<int>(item)]) {
    a->setCheckable(true);
    a->setChecked(checked);
  }
}

void MainWindow::set_visible(Control c, bool visible) {
  if (QWidget* w = controls_[static_cast<int>(c)]) w->setVisible(visible);
}

void MainWindow::move_control(Control c, int left, int top) {
  auto it = geometry_.find(c);
  if (it == geometry_.end()) return;
  it->second.moveTo(left, top);
  place_controls();
}

void MainWindow::set_text(Control c, std::string_view utf8) {
  if (auto* e = qobject_cast<QLineEdit*>(controls_[static_cast<int>(c)])) e->setText(q(utf8));
}

void MainWindow::run_box(QMessageBox& box, QAbstractButton* safe) {
  box_open_ = true;
  box_safe_ = safe;
  box.exec();
  box_safe_ = nullptr;
  box_open_ = false;
  surface_->flush();
}

Answer MainWindow::message_box(std::string_view text, std::string_view title, Buttons buttons, Icon icon) {
  if (auto_answer_) {
    std::fprintf(stderr, "[%.*s] %.*s\n", static_cast<int>(title.size()), title.data(),
                 static_cast<int>(text.size()), text.data());
    if (buttons == Buttons::ok) return Answer::ok;
    return buttons == Buttons::yesno_iie ? Answer::no : Answer::yes;
  }
  // The player has asked to quit: nothing more is asked or told, the safe answer is taken.
  if (close_pending_) {
    if (buttons == Buttons::ok) return Answer::ok;
    return buttons == Buttons::yesno ? Answer::yes : Answer::no;
  }
  surface_->flush();  // the box must not open over a board that has not been shown yet
  QMessageBox box(this);
  box.setWindowModality(Qt::ApplicationModal);
  box.setWindowTitle(q(title));
  box.setText(q(text));
  box.setIcon(icon == Icon::warning ? QMessageBox::Warning : QMessageBox::NoIcon);
  if (buttons == Buttons::ok) {
    run_box(box, box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole));
    return Answer::ok;
  }
  const bool naru = buttons == Buttons::naru;
  QPushButton* yes = box.addButton(naru ? QStringLiteral("成る") : QStringLiteral("はい"), QMessageBox::YesRole);
  QPushButton* no = box.addButton(naru ? QStringLiteral("成らない") : QStringLiteral("いいえ"), QMessageBox::NoRole);
  // Closing the box must never wipe the game, nor replace a file, nor promote a piece a
  // left click moved. Enter promotes all the same: promoting is what a player asks most.
  QPushButton* safe = buttons == Buttons::yesno_iie || naru ? no : yes;
  box.setDefaultButton(naru ? yes : safe);
  box.setEscapeButton(safe);
  run_box(box, safe);
  return box.clickedButton() == no ? Answer::no : Answer::yes;
}

void MainWindow::set_menus_enabled(bool on) {
  // Everything but the rules page goes through the game, which takes no command then.
  for (const MenuItem& i : kMenus)
    if ((i.parent == Menu::COUNT && i.id != Menu::HELP) || i.id == Menu::HINT)
      actions_[static_cast<int>(i.id)]->setEnabled(on);
}

void MainWindow::set_timer(bool enabled) {
  if (enabled) timer1_.start();
  else timer1_.stop();
}

void MainWindow::set_list(Control c, const std::vector<std::string>& items, int selected) {
  QWidget* w = controls_[static_cast<int>(c)];
  if (auto* combo = qobject_cast<QComboBox*>(w)) {
    combo->clear();
    for (const auto& s : items) combo->addItem(q(s));
    combo->setCurrentIndex(selected);
  } else if (auto* list = qobject_cast<QListWidget*>(w)) {
    list->clear();
    for (const auto& s : items) list->addItem(q(s));
    if (selected >= 0 && selected < list->count()) list->setCurrentRow(selected);
  }
}

void MainWindow::quit() {
  closing_ = true;
  timer1_.stop();
  poll_.stop();
  QMetaObject::invokeMethod(qApp, &QApplication::quit, Qt::QueuedConnection);
}

bool MainWindow::is_own_widget(QObject* o) const {
  const auto* w = qobject_cast<const QWidget*>(o);
  return w && w->window() == this;
}

// Esc is watched for the whole application, so it quits whichever of the window's
// widgets has the focus (the menu bar keeps it after a menu was closed with Esc).
// Open menus and boxes take their own Esc.
bool MainWindow::eventFilter(QObject* watched, QEvent* e) {
  const QEvent::Type t = e->type();
  const bool input = t == QEvent::MouseButtonPress || t == QEvent::MouseButtonRelease ||
                     t == QEvent::MouseButtonDblClick || t == QEvent::KeyPress || t == QEvent::Wheel;
  if (!input || !is_own_widget(watched)) return QMainWindow::eventFilter(watched, e);
  if (t == QEvent::KeyPress && static_cast<QKeyEvent*>(e)->key() == Qt::Key_Escape &&
      !QApplication::activePopupWidget()) {
    // With the record panel open Esc only closes it: typing a file name must never end
    // the game, and closing the panel must not take a board click (a move).
    if (!box_open_ && controls_[static_cast<int>(Control::PANEL_DIR_LIST)]->isVisible()) {
      handle([&] { game_->on_key(27); });
      return true;
    }
    request_close();
    return true;
  }
  // While a box waits for its answer, or the game plays on by itself, the window takes
  // no input of its own.
  return box_open_ || game_->machichu();
}

void MainWindow::closeEvent(QCloseEvent* e) {
  if (closing_) return e->accept();
  e->ignore();
  request_close();
}

}  // namespace mirado::qt
