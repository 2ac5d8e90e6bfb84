// The real window, offscreen: menu tree, painted cells, and presses reaching the game
// as the right cells at any window size.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QMenu>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "app/names.h"
#include "app/null_ports.h"
#include "qt/art/art.h"
#include "qt/main_window.h"

namespace mirado::qt {
namespace {

// Each test in a fresh working directory, so the settings file starts from its defaults.
class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    old_ = std::filesystem::current_path();
    dir_ = std::filesystem::temp_directory_path() / ("mirado-window-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
    std::filesystem::current_path(dir_);
    window_ = std::make_unique<MainWindow>(&sound_);
    window_->set_auto_answer(true);
    window_->resize(600, 520 + MainWindow::kStatusH);  // the status line lies under the picture
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    window_->start_up();
  }
  void TearDown() override {
    window_.reset();
    std::filesystem::current_path(old_);
    std::filesystem::remove_all(dir_);
  }
  Game& game() { return window_->game(); }
  // The window answers while the game plays on by itself (a start's pause, the computer's
  // turn): the test waits for it as a player would.
  void settle() {
    for (int i = 0; i < 1000 && game().machichu() && !game().quitting(); ++i) QTest::qWait(10);
  }
  void trigger(Menu m) {
    window_->action(m)->trigger();
    settle();
  }
  // Whether a rendering of the surface at scale s shows the picture of `code` in cell
  // (c, r), judged at a point inside the piece token.
  bool shows(const QImage& shot, double s, int c, int r, int code) const {
    const QImage pic = art::picture(code, s);
    const QPoint tl = window_->surface().to_logical(BAN_LEFT + MASU_W * c, BAN_TOP + MASU_H * r);
    return shot.pixel(tl.x() + pic.width() / 2, tl.y() + pic.height() / 3) ==
           pic.pixel(pic.width() / 2, pic.height() / 3);
  }
  // The centre of a window cell, in the surface's logical pixels.
  QPoint cell_centre(int c, int r) const {
    return window_->surface().to_logical(BAN_LEFT + MASU_W * c + 247, BAN_TOP + MASU_H * r + 307);
  }

  SilentSound sound_{1};
  std::unique_ptr<MainWindow> window_;
  std::filesystem::path old_, dir_;
};

// The menu bar as the player sees it: caption, and the captions under it.
std::string tree(const QList<QAction*>& actions, int depth = 0) {
  std::string out;
  for (QAction* a : actions) {
    out += std::string(depth * 2, ' ') + a->text().toStdString() + " [" + a->objectName().toStdString() + "]\n";
    if (a->menu()) out += tree(a->menu()->actions(), depth + 1);
  }
  return out;
}

TEST_F(WindowTest, MenuBarHasEveryItemCaptionAndNesting) {
  const std::string expected =
      "対局 [TAIKYOKU]\n"
      "  対局(人間) [MATCH_MAN]\n"
      "    スタート [START]\n"
      "  対局(COM) [START2]\n"
      "    先手 [SENTE]\n"
      "    後手 [GOTE]\n"
      "  続きから [TSUZUKI]\n"
      "  COM対局ﾚﾍﾞﾙ [LEVEL]\n"
      "    LEVEL1 [LEVEL1]\n"
      "    LEVEL2 [LEVEL2]\n"
      "    LEVEL3 [LEVEL3]\n"
      "    LEVEL4 [LEVEL4]\n"
      "    LEVEL5 [LEVEL5]\n"
      "  終わり [OWARI]\n"
      "局面 [STOP]\n"
      "  最初 [CANCEL]\n"
      "  反転 [REVERSE]\n"
      "戻 [REPLAY]\n"
      "進 [AFTER]\n"
      "△ [LBEL_UP]\n"
      "▽ [LEBEL_DOWN]\n"
      "棋譜 [KIFU]\n"
      "  読込 [KIFU_READ]\n"
      "  書込 [KIFU_WRITE]\n"
      "   []\n"  // the desktop's own file dialogs, beside the panel
      "  開く… [KIFU_OPEN_DIALOG]\n"
      "  名前を付けて保存… [KIFU_SAVE_DIALOG]\n"
      "ｵﾌﾟｼｮﾝ [OPTION]\n"
      "  背景画 [HAIKEI_GA]\n"
      "    英国 [MIDORI]\n"
      "    ヌバラ [UCHU]\n"
      "    美女１ [TATAMI]\n"
      "    美女２ [TAKE]\n"
      "    美女３ [RENGA]\n"
      "  移動指導 [SIDOU]\n"
      "  経過時間 [KEIKA]\n"
      "  BGM [BGM]\n"
      "  ｱｲｺﾝ [AICON]\n"
      "  直前の手 [CHOKUZEN]\n"
      "  棋譜一覧 [ICHIRAN]\n"
      "  解析グラフ [KAISEKI_ZU]\n"
      "  成りを確認 [NARI_KAKUNIN]\n"
      "  COMの手の表示 [COM_HYOUJI]\n"
      "    標準 [HYOUJUN]\n"
      "    速い [HAYAI]\n"
      "    省略 [SHOURYAKU]\n"
      "  COMの考慮時間 [KOURYO]\n"
      "    0.25秒 [KOURYO_025]\n"
      "    1秒 [KOURYO_1]\n"
      "    3秒 [KOURYO_3]\n"
      "ﾍﾙﾌﾟ [HELP]\n"
      "  遊び方 [ASOBIKATA]\n"
      "  ﾋﾝﾄ [HINT]\n"
      "  解析 [KAISEKI]\n"
      "その他 [VER]\n";
  EXPECT_EQ(tree(window_->menuBar()->actions()), expected);
  EXPECT_EQ(window_->windowTitle().toStdString(), "ミラド 将棋");
  EXPECT_FALSE(window_->menuBar()->isNativeMenuBar());
  EXPECT_TRUE(window_->action(Menu::LEVEL3)->isChecked());
  EXPECT_TRUE(window_->action(Menu::MIDORI)->isChecked());
}

TEST_F(WindowTest, StartPositionIsPaintedCellByCell) {
  ASSERT_DOUBLE_EQ(window_->surface().scale(), 1.0);
  const QImage shot = window_->surface().full_repaint();
  const QImage king = art::picture(-OU);
  const QImage empty = art::picture(0);
  // Inside a cell (away from its outline) the surface shows the cell's picture.
  auto same = [&](int c, int r, const QImage& pic) {
    const QPoint tl = window_->surface().to_logical(BAN_LEFT + MASU_W * c, BAN_TOP + MASU_H * r);
    const int x = tl.x(), y = tl.y();
    int differing = 0;
    for (int dy = 2; dy < 39; dy += 3)
      for (int dx = 2; dx < 31; dx += 3)
        if (shot.pixel(x + dx, y + dy) != pic.pixel(dx, dy)) ++differing;
    return differing == 0;
  };
  EXPECT_TRUE(same(5, 9, king));
  EXPECT_TRUE(same(5, 5, empty));
  EXPECT_FALSE(same(5, 5, king));
  // The grid is green where cells meet.
  const QPoint g = window_->surface().to_logical(BAN_LEFT + MASU_W * 5, BAN_TOP + MASU_H * 5);
  const int gx = g.x(), gy = g.y() + 20;
  EXPECT_EQ(QColor(shot.pixel(gx, gy)), QColor(0, 128, 0));
}

TEST_F(WindowTest, PressesReachTheGameAsCellsAtAnyWindowSize) {
  trigger(Menu::START);
  ASSERT_EQ(game().taikyoku().teban(), Gawa::sente);
  QTest::mouseClick(&window_->surface(), Qt::LeftButton, {}, cell_centre(3, 7));
  EXPECT_EQ(game().nyuuryoku().click_jotai(), 1);
  EXPECT_EQ(game().nyuuryoku().sentaku(static_cast<Dankai>(1)).fc, 3);
  EXPECT_EQ(game().nyuuryoku().sentaku(static_cast<Dankai>(1)).fr, 7);

  window_->resize(1200, 1040);  // the board scales with the window
  QApplication::processEvents();
  ASSERT_GT(window_->surface().scale(), 1.5);
  QTest::mouseClick(&window_->surface(), Qt::LeftButton, {}, cell_centre(3, 6));
  EXPECT_EQ(game().taikyoku().pos().ban[3][6], -HU);
  EXPECT_EQ(game().taikyoku().pos().ban[3][7], kara);
  EXPECT_EQ(game().taikyoku().dankai(), Dankai::ni);

  // The painted board follows: the pawn now stands on (3,6) and (3,7) is empty.
  const double s = window_->surface().scale();
  const QImage shot = window_->surface().full_repaint();
  EXPECT_TRUE(shows(shot, s, 3, 6, -HU));
  EXPECT_TRUE(shows(shot, s, 3, 7, kara));
  EXPECT_FALSE(shows(shot, s, 3, 7, -HU));

  // The rest of the turn: the opponent's pawn, then an own pawn; the turn passes.
  for (auto [c, r] : {std::pair{7, 3}, {7, 4}, {7, 7}, {7, 6}})
    QTest::mouseClick(&window_->surface(), Qt::LeftButton, {}, cell_centre(c, r));
  EXPECT_EQ(game().taikyoku().dankai(), Dankai::ichi);
  EXPECT_EQ(game().taikyoku().teban_nushi(), Gawa::gote);
  const QImage after = window_->surface().full_repaint();
  EXPECT_TRUE(shows(after, s, 7, 4, HU));
  EXPECT_TRUE(shows(after, s, 7, 3, kara));
  EXPECT_TRUE(shows(after, s, 7, 6, -HU));
  EXPECT_TRUE(shows(after, s, 7, 7, kara));
}

// The status line and the move list are the window's own widgets beside the picture.
TEST_F(WindowTest, StatusLineAndMoveListFollowTheGame) {
  QLabel* status = window_->status_line();
  QListWidget* list = window_->move_list();
  EXPECT_EQ(status->text(), QStringLiteral("「対局」で始めて下さい"));
  EXPECT_TRUE(list->isHidden());
  trigger(Menu::START);
  EXPECT_EQ(status->text(), QStringLiteral("先手の番　1手目: 自分の駒"));
  const int narrow = window_->width();
  window_->action(Menu::ICHIRAN)->trigger();
  EXPECT_TRUE(list->isVisible());
  // The window grows to hold it, but never past the screen (800 px wide offscreen).
  const int room = window_->screen()->availableGeometry().width() - 16;
  ASSERT_LT(room, narrow + list->width());
  EXPECT_EQ(window_->width(), room);
  for (auto [c, r] : {std::pair{3, 7}, {3, 6}, {3, 3}, {3, 4}, {7, 7}, {7, 6}, {7, 3}, {7, 4}, {2, 7}, {2, 6},
                      {4, 3}, {4, 4}})
    QTest::mouseClick(&window_->surface(), Qt::LeftButton, {}, cell_centre(c, r));
  ASSERT_EQ(list->count(), 2);
  EXPECT_EQ(list->item(0)->text(), QStringLiteral("  1 先手 ▲７六歩 △７四歩 ▲３六歩"));
  EXPECT_EQ(list->currentRow(), 1);
  // A row clicked steps back there as 戻 does.
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
  EXPECT_EQ(game().taikyoku().kifu().kifu_ichi, 3);
  EXPECT_EQ(list->currentRow(), 0);
  list->item(0)->setSelected(true);
  list->item(1)->setSelected(true);
  list->setFocus();
  QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(),
            list->item(0)->text() + QLatin1Char('\n') + list->item(1)->text() + QLatin1Char('\n'));
  // Shift-click extends the selection and leaves the game where it is.
  list->clearSelection();
  list->item(0)->setSelected(true);
  QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                    list->visualItemRect(list->item(1)).center());
  EXPECT_EQ(game().taikyoku().kifu().kifu_ichi, 3);
  EXPECT_TRUE(list->item(0)->isSelected());
  EXPECT_TRUE(list->item(1)->isSelected());
  // Rows never scroll sideways; their letters and the list grow with the picture, so a
  // row that fits at the design size never wraps; the status line shrinks its letters
  // rather than lose its end.
  EXPECT_TRUE(list->wordWrap());
  EXPECT_EQ(list->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
  const auto one_line_each = [&] {
    for (int i = 0; i < list->count(); ++i)
      EXPECT_LT(list->visualItemRect(list->item(i)).height(), 2 * QFontMetrics(list->font()).height())
          << "row " << i << " wraps at " << window_->width() << " px";
  };
  one_line_each();
  const int px = list->font().pixelSize();
  window_->resize(window_->width() * 2, window_->height() * 2);
  QApplication::processEvents();
  EXPECT_GT(list->font().pixelSize(), px);
  one_line_each();
  window_->set_status("ﾋﾝﾄ: 1 ▲７六歩 △３四歩 ▲２六歩（先手の勝率 52%）　最善 ▲７六歩 △３四歩 ▲２六歩"
                      "（指した手は悪手）　解析終了　先手 悪手1 疑問手2 緩手3　後手 悪手0 疑問手1 緩手4");
  window_->resize(600 + list->width(), 520 + MainWindow::kStatusH);
  QApplication::processEvents();
  EXPECT_LE(QFontMetrics(status->font()).horizontalAdvance(status->text()), status->contentsRect().width())
      << status->text().toStdString();
  EXPECT_LT(QFontInfo(status->font()).pixelSize(), QFontInfo(QApplication::font()).pixelSize());  // it had to
  // Play resumes with the upper side's turn: a lower pawn is not its piece.
  QTest::mouseClick(&window_->surface(), Qt::LeftButton, {}, cell_centre(5, 7));
  EXPECT_TRUE(status->text().contains(QStringLiteral("× 自分の駒を動かす番です")));
  // 最初 leaves no rows of the game before to click.
  window_->action(Menu::CANCEL)->trigger();
  EXPECT_EQ(list->count(), 0);
  const int wide = window_->width(), taken = list->width();
  window_->action(Menu::ICHIRAN)->trigger();
  EXPECT_TRUE(list->isHidden());
  EXPECT_EQ(window_->width(), wide - taken);  // and gives its width back
}

TEST_F(WindowTest, WhileTheComputerPlaysTheMenusItWouldNotAnswerAreDisabled) {
  window_->set_menus_enabled(false);
  for (Menu m : {Menu::TAIKYOKU, Menu::STOP, Menu::REPLAY, Menu::AFTER, Menu::KIFU, Menu::OPTION, Menu::HINT})
    EXPECT_FALSE(window_->action(m)->isEnabled()) << menu_name(m);
  EXPECT_TRUE(window_->action(Menu::HELP)->isEnabled());  // the rules page opens all the same
  EXPECT_TRUE(window_->action(Menu::ASOBIKATA)->isEnabled());
  window_->set_menus_enabled(true);
  for (Menu m : {Menu::TAIKYOKU, Menu::STOP, Menu::REPLAY, Menu::HINT}) EXPECT_TRUE(window_->action(m)->isEnabled());
}

// ﾍﾙﾌﾟ → 遊び方 opens the rules page beside the board, without blocking play.
TEST_F(WindowTest, RulesPageOpensFromTheHelpMenu) {
  window_->action(Menu::ASOBIKATA)->trigger();
  QWidget* page = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->isVisible() && w->windowTitle() == QStringLiteral("遊び方")) page = w;
  ASSERT_NE(page, nullptr);
  EXPECT_FALSE(page->isModal());
  trigger(Menu::START);  // the game goes on meanwhile
  EXPECT_EQ(game().taikyoku().teban(), Gawa::sente);
  page->close();
}

// After every kind of event the screen is up to date: nothing drawn waits to be shown,
// and what is shown is exactly a full repaint of the picture (at any pixel ratio: the
// ratio-2 run of this test is a test of its own).
TEST_F(WindowTest, EveryEventLeavesTheScreenShowingAFullRepaint) {
  Surface& surface = window_->surface();
  auto expect_shown = [&](const char* after) {
    EXPECT_FALSE(surface.dirty()) << after << ": drawn but not put on screen";
    EXPECT_TRUE(surface.image() == surface.full_repaint()) << after << ": the screen differs from a full repaint";
  };
  expect_shown("start-up");
  trigger(Menu::START);
  expect_shown("スタート");
  for (auto [c, r] : {std::pair{3, 7}, {3, 6}, {3, 3}, {3, 4}, {7, 7}, {7, 6}}) {
    QTest::mouseClick(&surface, Qt::LeftButton, {}, cell_centre(c, r));
    expect_shown("a press on the board");
  }
  for (Menu m : {Menu::REPLAY, Menu::AFTER, Menu::REVERSE, Menu::REVERSE, Menu::TATAMI, Menu::KEIKA,
                 Menu::SIDOU, Menu::KIFU_READ}) {
    window_->action(m)->trigger();
    expect_shown(menu_name(m));
  }
  window_->apply_event("menu TAIKYOKU");  // opening a menu closes the record panel
  expect_shown("panel closed");
  for (QSize size : {QSize(900, 700), QSize(1, 1), QSize(1300, 400), QSize(600, 520)}) {
    window_->resize(size);
    QApplication::processEvents();
    surface.repaint();
    expect_shown("a resize");
  }
}

// A window of another shape shows the whole picture at the largest scale that fits,
// centred; the margins carry on the background tiles; presses land on their cells.
TEST_F(WindowTest, PictureIsCentredInAWindowOfAnotherShape) {
  // Exactly the design height: the picture keeps scale 1 and the tiles whole pixels.
  window_->resize(1000, 485 + window_->menuBar()->height() + MainWindow::kStatusH);
  QApplication::processEvents();
  Surface& surface = window_->surface();
  surface.repaint();
  const double dpr = surface.devicePixelRatioF();
  const double s = std::min(surface.width() / 600.0, surface.height() / 485.0);
  ASSERT_DOUBLE_EQ(surface.scale(), s);
  const double left = (surface.width() - 600 * s) / 2, top = (surface.height() - 485 * s) / 2;
  ASSERT_GT(left, 150);

  // The tiles repeat every 33 pixels across: the top row of the margin shows the same
  // tiles as the top row of the picture, a whole number of tiles further left.
  const QImage& shown = surface.image();
  const int y = static_cast<int>((top + 3) * dpr);
  const int period = static_cast<int>(std::lround(33 * s * dpr));
  const int shift = period * static_cast<int>(left * dpr / period);
  int differing = 0;
  for (int x = static_cast<int>(left * dpr) + 2; x < static_cast<int>(left * dpr) + period; ++x)
    if (shown.pixel(x, y) != shown.pixel(x - shift, y)) ++differing;
  EXPECT_EQ(differing, 0);

  trigger(Menu::START);
  auto centre = [&](int c, int r) {
    return QPoint(static_cast<int>(left + (1050 + 495 * c + 247) / 15.0 * s),
                  static_cast<int>(top + (100 + 615 * r + 307) / 15.0 * s));
  };
  QTest::mouseClick(&surface, Qt::LeftButton, {}, centre(3, 7));
  EXPECT_EQ(game().nyuuryoku().sentaku(static_cast<Dankai>(1)).fc, 3);
  EXPECT_EQ(game().nyuuryoku().sentaku(static_cast<Dankai>(1)).fr, 7);
  window_->resize(600, 1000);  // now the margins are above and below
  QApplication::processEvents();
  const double s2 = std::min(surface.width() / 600.0, surface.height() / 485.0);
  const QPoint to(static_cast<int>((surface.width() - 600 * s2) / 2 + (1050 + 495 * 3 + 247) / 15.0 * s2),
                  static_cast<int>((surface.height() - 485 * s2) / 2 + (100 + 615 * 6 + 307) / 15.0 * s2));
  QTest::mouseClick(&surface, Qt::LeftButton, {}, to);
  EXPECT_EQ(game().taikyoku().pos().ban[3][6], -HU);
  EXPECT_EQ(game().taikyoku().pos().ban[3][7], kara);
}

// Esc quits whichever of the window's widgets has the focus, the menu bar included,
// unless the record panel is open: then Esc only closes it, with no move made. Enter in
// the file name box saves, as the button does.
TEST_F(WindowTest, EscClosesTheRecordPanelAndQuitsOtherwiseEnterSaves) {
  trigger(Menu::START);
  for (auto [c, r] : {std::pair{3, 7}, {3, 6}, {3, 3}, {3, 4}, {7, 7}, {7, 6}})
    QTest::mouseClick(&window_->surface(), Qt::LeftButton, {}, cell_centre(c, r));
  ASSERT_EQ(game().taikyoku().kifu().kifu_ichi, 3);
  window_->action(Menu::KIFU_WRITE)->trigger();
  auto* edit = qobject_cast<QLineEdit*>(window_->control(Control::PANEL_TITLE));
  ASSERT_TRUE(edit && edit->isVisible());
  edit->setFocus();
  QTest::keyClick(edit, Qt::Key_Escape);
  EXPECT_FALSE(game().quitting());
  EXPECT_FALSE(edit->isVisible());
  EXPECT_EQ(game().taikyoku().kifu().kifu_ichi, 3);

  window_->action(Menu::KIFU_WRITE)->trigger();
  auto* name = qobject_cast<QLineEdit*>(window_->control(Control::PANEL_FILE_NAME));
  ASSERT_TRUE(name && name->isVisible());
  name->setFocus();
  QTest::keyClicks(name, QStringLiteral("enter"));
  QTest::keyClick(name, Qt::Key_Return);
  EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(game().kifu_panel().dir_path()) / "enter.棋譜"));
  EXPECT_FALSE(name->isVisible());  // saved, the panel closes

  QTest::keyClick(window_->menuBar(), Qt::Key_Escape);  // the panel's hidden box may keep the focus
  EXPECT_TRUE(game().quitting());
}

// LEVEL4 thinks beside the window: a close asked for while it thinks gives the turn up
// (nothing is played) and the window closes as soon as the thinking has stopped.
TEST_F(WindowTest, Level4IsChosenFromTheMenuAndAClosePutsAnEndToItsThinking) {
  window_->action(Menu::LEVEL4)->trigger();
  EXPECT_TRUE(window_->action(Menu::LEVEL4)->isChecked());
  EXPECT_FALSE(window_->action(Menu::LEVEL3)->isChecked());
  EXPECT_EQ(game().taikyoku().level(), 4);
  trigger(Menu::SENTE);
  // The person's turn: a pawn, one of the computer's pawns, another pawn.
  for (const char* e : {"cell 1 7 7", "cell 1 7 6", "cell 1 3 3", "cell 1 3 4", "cell 1 2 7"})
    ASSERT_TRUE(window_->apply_event(e)) << e;
  ASSERT_EQ(game().taikyoku().tesuu(), 2);
  QTimer::singleShot(20, window_.get(), [this] { window_->close(); });
  ASSERT_TRUE(window_->apply_event("cell 1 2 6"));  // the third move: the computer thinks
  EXPECT_TRUE(game().machichu());                   // beside the window, which answers
  settle();
  EXPECT_EQ(game().taikyoku().tesuu(), 3);          // the person's moves only
  EXPECT_TRUE(game().com_teban().chuudan());
  EXPECT_TRUE(game().quitting());
}

// ﾍﾙﾌﾟ → 解析 beside the window: the status line counts the turns, the graph appears
// under the board and a click on it steps to that turn as a row of the move list does.
TEST_F(WindowTest, AnalysisGraphStepsToTheTurnClicked) {
  window_->action(Menu::ICHIRAN)->trigger();
  window_->action(Menu::KAISEKI)->trigger();
  EXPECT_TRUE(window_->status_line()->text().contains(QStringLiteral("解析する棋譜がありません")));
  trigger(Menu::START);
  for (auto [c, r] : {std::pair{3, 7}, {3, 6}, {3, 3}, {3, 4}, {7, 7}, {7, 6}, {7, 3}, {7, 4}, {2, 7}, {2, 6},
                      {4, 3}, {4, 4}, {8, 7}, {8, 6}, {6, 3}, {6, 4}, {2, 6}, {2, 5}})
    QTest::mouseClick(&window_->surface(), Qt::LeftButton, {}, cell_centre(c, r));
  ASSERT_EQ(game().taikyoku().kifu().kifu_nagasa, 9);
  game().hint_kaiseki().kaiseki_nodes_settei(2000);
  KaisekiGraph* graph = window_->kaiseki_graph();
  EXPECT_TRUE(graph->isHidden());
  const int low = window_->height();
  window_->action(Menu::KAISEKI)->trigger();
  EXPECT_TRUE(game().hint_kaiseki().kaiseki_chu());
  EXPECT_TRUE(window_->status_line()->text().contains(QStringLiteral("解析中… ")));
  for (int i = 0; i < 300 && graph->isHidden(); ++i) QTest::qWait(20);  // the window keeps answering
  ASSERT_TRUE(graph->isVisible());
  // The window grows to hold it, as far as the screen leaves room (ratio 2 offscreen: none).
  const int room = std::max(window_->screen()->availableGeometry().height() - 48, window_->minimumSizeHint().height());
  EXPECT_EQ(window_->height(), std::min(low + graph->height(), room));
  EXPECT_EQ(graph->zu().kachi.size(), 4u);
  EXPECT_TRUE(window_->status_line()->text().contains(QStringLiteral("解析終了")));
  // A click by the first turn's point steps back there, as the first row would.
  const QPointF p = graph->ten(1);
  QTest::mouseClick(graph, Qt::LeftButton, {}, QPoint(static_cast<int>(p.x()) + 1, static_cast<int>(p.y())));
  EXPECT_EQ(game().taikyoku().kifu().kifu_ichi, 3);
  EXPECT_EQ(window_->move_list()->currentRow(), 0);
  EXPECT_DOUBLE_EQ(graph->zu().ima, 1);
  // The best turn from there is marked and named.
  EXPECT_GT(game().hint_kaiseki().hint_te().n, 0);
  EXPECT_TRUE(window_->status_line()->text().contains(QStringLiteral("最善 ")));
  // Drawn at the screen's pixel ratio, and larger with a larger window.
  EXPECT_DOUBLE_EQ(graph->grab().devicePixelRatio(), window_->devicePixelRatioF());
  const int h = graph->height();
  window_->resize(window_->width() * 3 / 2, window_->height() * 3 / 2);
  QTest::qWait(10);
  EXPECT_GT(graph->height(), h);
  window_->action(Menu::KAISEKI_ZU)->trigger();
  EXPECT_TRUE(graph->isHidden());
}

// A close while a box waits for its answer is not kept waiting for it: the box takes its
// safe answer and the window goes. The clocks tick on while the box is up.
TEST_F(WindowTest, ACloseWhileABoxWaitsTakesItsSafeAnswerAndQuits) {
  if (!game().kirikae().is_checked(Menu::KEIKA)) window_->action(Menu::KEIKA)->trigger();
  window_->set_auto_answer(false);
  bool had_to_answer = false;
  int box_seen = 0;
  std::string clock_at_first, clock_at_close;
  QTimer watch;
  // The close once the box has been up a while; if it did nothing, the box is answered
  // here later so that the test ends.
  QObject::connect(&watch, &QTimer::timeout, window_.get(), [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    if (++box_seen == 1) clock_at_first = game().ban_gamen().tokei_moji(0);
    if (box_seen == 30) {
      clock_at_close = game().ban_gamen().tokei_moji(0);
      window_->close();
    }
    if (box_seen == 60) {
      had_to_answer = true;
      box->done(0);
    }
  });
  watch.start(50);
  trigger(Menu::START);  // "先手の番です" waits for an answer
  watch.stop();
  EXPECT_GE(box_seen, 30);
  EXPECT_NE(clock_at_first, clock_at_close);  // 1.5 s later the first player's clock moved on
  EXPECT_FALSE(clock_at_close.empty());
  EXPECT_FALSE(had_to_answer);
  EXPECT_TRUE(game().quitting());
}

// The promotion box: Enter promotes, Esc moves the piece unpromoted; a yes/no question
// whose yes cannot be undone takes no on either key.
TEST_F(WindowTest, ThePromotionBoxPromotesOnEnterAndNotOnEsc) {
  window_->set_auto_answer(false);
  const auto answer = [&](Buttons b, Qt::Key key) {
    QTimer::singleShot(50, window_.get(), [key] {
      if (QWidget* box = QApplication::activeModalWidget()) QTest::keyClick(box, key);
    });
    return window_->message_box("成りますか？", "成り", b, Icon::none);
  };
  EXPECT_EQ(answer(Buttons::naru, Qt::Key_Return), Answer::yes);
  EXPECT_EQ(answer(Buttons::naru, Qt::Key_Escape), Answer::no);
  EXPECT_EQ(answer(Buttons::yesno_iie, Qt::Key_Return), Answer::no);
  EXPECT_EQ(answer(Buttons::yesno, Qt::Key_Escape), Answer::yes);
}

// A close while the analysis runs ends it at once.
TEST_F(WindowTest, AClosePutsAnEndToAnAnalysis) {
  trigger(Menu::START);
  for (auto [c, r] : {std::pair{3, 7}, {3, 6}, {3, 3}, {3, 4}, {7, 7}, {7, 6}})
    QTest::mouseClick(&window_->surface(), Qt::LeftButton, {}, cell_centre(c, r));
  game().hint_kaiseki().kaiseki_nodes_settei(5'000'000);
  window_->action(Menu::KAISEKI)->trigger();
  ASSERT_TRUE(game().hint_kaiseki().kaiseki_chu());
  window_->close();
  EXPECT_TRUE(game().quitting());
  EXPECT_FALSE(game().hint_kaiseki().kaiseki_chu());
  EXPECT_TRUE(game().hint_kaiseki().kaiseki_kekka().empty());
}

}  // namespace
}  // namespace mirado::qt

namespace mirado::qt {
namespace {

// The columns of `img` where it differs from `blank`.
std::pair<int, int> drawn_columns(const QImage& img, const QImage& blank) {
  int lo = img.width(), hi = -1;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      if (img.pixel(x, y) != blank.pixel(x, y)) lo = std::min(lo, x), hi = std::max(hi, x);
  return {lo, hi};
}

TEST(SurfaceText, NoTextIsCutByThePicturesEdge) {
  const QImage blank = Surface().render(1.0, 1.0);
  // A title that would start left of the picture is moved in whole.
  Surface off_left, at_left;
  off_left.text(-3000, 6350, "est game: a title set off the edge", 12, 12, false);
  at_left.text(0, 6350, "est game: a title set off the edge", 12, 12, false);
  EXPECT_EQ(off_left.render(1.0, 1.0), at_left.render(1.0, 1.0));
  // One that would run off the right is moved in, and one wider than the picture is set
  // smaller until it fits.
  Surface right, wide;
  right.text(8800, 100, "名前の長い対局者", 15, 12, false);
  std::string long_text;
  for (int i = 0; i < 12; ++i) long_text += "とても長い対局名";
  wide.text(0, 100, long_text, 15, 12, false);
  for (Surface* s : {&right, &wide}) {
    const auto [lo, hi] = drawn_columns(s->render(1.0, 1.0), blank);
    EXPECT_GT(lo, 0) << (s == &right ? "right" : "wide");
    EXPECT_LT(hi, Surface::kBaseW - 1) << (s == &right ? "right" : "wide") << " from " << lo;
    EXPECT_GT(hi, lo);
  }
  const auto [lo, hi] = drawn_columns(wide.render(1.0, 1.0), blank);
  EXPECT_GT(hi - lo, Surface::kBaseW / 2);  // shrunk to fit, not to nothing
}

}  // namespace
}  // namespace mirado::qt
