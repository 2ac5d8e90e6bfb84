// The rules help window: what it says, that its pictures show the game's own pieces
// sharply at any pixel ratio, that its example moves are real moves, and how it opens
// and closes.
#include "qt/rules_help.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSet>
#include <QTest>

#include "qt/art/art.h"
#include "qt/board_diagram.h"
#include "rules/kyokumen.h"

namespace mirado::qt {
namespace {

using Kind = DiagramMove::Kind;

// Set MIRADO_HELP_SHOTS to a folder to keep the rendered pages for looking at.
void keep(const QImage& img, const QString& name) {
  const QString dir = qEnvironmentVariable("MIRADO_HELP_SHOTS");
  if (!dir.isEmpty()) img.save(dir + QLatin1Char('/') + name);
}

// Whether the page shows the picture `pic` with its top-left at `at` (logical pixels),
// judged on a patch in the middle of the piece token, where the name is written.
bool shows_picture(const QImage& page, QPoint at, const QImage& pic) {
  const qreal dpr = page.devicePixelRatio();
  const int x0 = qRound(at.x() * dpr), y0 = qRound(at.y() * dpr);
  for (int y = pic.height() * 3 / 10; y < pic.height() * 7 / 10; ++y)
    for (int x = pic.width() / 3; x < pic.width() * 2 / 3; ++x)
      if (page.pixel(x0 + x, y0 + y) != pic.pixel(x, y)) return false;
  return true;
}

bool is_target(const BoardDiagram& d, int col, int row) {
  for (const DiagramMove& m : d.moves())
    if (m.to_col == col && m.to_row == row) return true;
  return false;
}

int distinct_colours(const QImage& img) {
  QSet<QRgb> seen;
  for (int y = 0; y < img.height(); y += 3)
    for (int x = 0; x < img.width(); x += 3) seen.insert(img.pixel(x, y));
  return seen.size();
}

TEST(RulesHelp, TitledResizableAndClosedByEscOrItsButton) {
  RulesHelp help;
  EXPECT_EQ(help.windowTitle(), QStringLiteral("遊び方"));
  EXPECT_TRUE(help.isSizeGripEnabled());
  help.show();
  ASSERT_TRUE(help.isVisible());
  help.resize(help.minimumWidth() + 200, help.minimumHeight() + 200);
  EXPECT_EQ(help.width(), help.minimumWidth() + 200);

  QTest::keyClick(&help, Qt::Key_Escape);
  EXPECT_FALSE(help.isVisible());

  help.show();
  auto* buttons = help.findChild<QDialogButtonBox*>();
  ASSERT_NE(buttons, nullptr);
  QPushButton* close = buttons->button(QDialogButtonBox::Close);
  ASSERT_NE(close, nullptr);
  EXPECT_EQ(close->text(), QStringLiteral("閉じる"));
  QTest::mouseClick(close, Qt::LeftButton);
  EXPECT_FALSE(help.isVisible());
}

TEST(RulesHelp, OneWindowPerGameThatDoesNotBlockPlay) {
  QWidget game;
  RulesHelp::show_rules_help(&game);
  RulesHelp::show_rules_help(&game);
  const auto open = game.findChildren<RulesHelp*>();
  ASSERT_EQ(open.size(), 1);
  EXPECT_TRUE(open[0]->isVisible());
  EXPECT_FALSE(open[0]->isModal());
  EXPECT_TRUE(open[0]->isWindow());

  open[0]->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(game.findChildren<RulesHelp*>().isEmpty());
  RulesHelp::show_rules_help(&game);
  EXPECT_EQ(game.findChildren<RulesHelp*>().size(), 1);
}

TEST(RulesHelpPage, ExplainsTheTurnPromotionDropsEndingAndLevels) {
  RulesHelp help;
  const QString text = help.plain_text();
  for (const char* term :
       {"三手", "1手目", "2手目", "3手目", "相手の駒", "王手がはずれる", "王一枚", "右ボタン", "成", "持ち駒",
        "打", "二歩", "と金", "詰み", "王を取る", "LEVEL1", "LEVEL2", "LEVEL3", "LEVEL4", "LEVEL5",
        "COMの考慮時間"})
    EXPECT_TRUE(text.contains(QString::fromUtf8(term))) << term;
  // The refusals are quoted exactly as the game shows them, so a player recognises them.
  for (const char* message : {"１手目に動かした駒は動かせません", "２手目に動かした駒は取れません",
                              "マウスの右をクリックして下さい", "王手です。自殺はできません"})
    EXPECT_TRUE(text.contains(QString::fromUtf8(message))) << message;
  // The five levels as they play: LEVEL5 plays, and is the strongest.
  EXPECT_FALSE(text.contains(QString::fromUtf8("準備"))) << "LEVEL5 plays already";
  const qsizetype lv5 = text.indexOf(QString::fromUtf8("LEVEL5"));
  const qsizetype strongest = text.indexOf(QString::fromUtf8("いちばん強い"));
  EXPECT_EQ(text.count(QString::fromUtf8("いちばん強い")), 1);
  EXPECT_GT(strongest, lv5);
  EXPECT_LT(strongest, lv5 + 20);
}

TEST(RulesHelpPage, DrawsTheGamesOwnPiecesSharplyAtRatioOneAndTwo) {
  RulesHelp help;
  help.resize(700, 600);
  help.show();
  const QImage one = help.render_page(1.0);
  const QImage two = help.render_page(2.0);
  keep(one, QStringLiteral("rules_help_1x.png"));
  keep(two, QStringLiteral("rules_help_2x.png"));
  QImage window(help.size() * 2, QImage::Format_ARGB32_Premultiplied);
  window.setDevicePixelRatio(2);
  help.render(&window);
  keep(window, QStringLiteral("rules_help_window_2x.png"));
  ASSERT_FALSE(one.isNull());
  EXPECT_EQ(two.size(), one.size() * 2);
  EXPECT_GT(one.height(), 3 * help.height()) << "the whole page, not just what the window shows";
  EXPECT_GT(distinct_colours(one), 200);

  ASSERT_GE(help.diagrams().size(), 5);
  for (const QImage& page : {one, two}) {
    const qreal dpr = page.devicePixelRatio();
    for (const BoardDiagram* d : help.diagrams()) {
      ASSERT_FALSE(d->pieces().empty());
      // Squares a move ends on carry its marks; every other piece is the game's own picture.
      int untouched = 0;
      for (const auto& pc : d->pieces()) {
        if (is_target(*d, pc.col, pc.row)) continue;
        ++untouched;
        const QPoint at = d->mapTo(help.page(), d->square_rect(pc.col, pc.row).topLeft());
        EXPECT_TRUE(shows_picture(page, at, art::picture(pc.code, dpr)))
            << pc.code << " on " << pc.col << "," << pc.row << " ratio " << dpr;
      }
      EXPECT_GE(untouched, 3);
      if (d->hand_code()) {
        const QPoint at = d->mapTo(help.page(), d->square_rect(TE_SITA, 0).topLeft());
        EXPECT_TRUE(shows_picture(page, at, art::picture(d->hand_code(), dpr))) << "hand, ratio " << dpr;
      }
    }
    for (const ClickChoice* c : help.click_choices())
      for (int row : {0, 1}) {
        const QPoint at = c->mapTo(help.page(), c->piece_rect(row).topLeft());
        EXPECT_TRUE(shows_picture(page, at, art::picture(c->code(row), dpr))) << "ratio " << dpr;
      }
  }
}

// The window as it paints itself on the screen (run with QT_SCALE_FACTOR=2 for a 2x
// screen): each picture scrolled into view shows the pieces at the screen's ratio.
TEST(RulesHelpPage, PaintsThePiecesAtTheScreensRatioWhenScrolledTo) {
  RulesHelp help;
  help.resize(700, 500);
  help.show();
  const qreal dpr = help.devicePixelRatioF();
  for (const BoardDiagram* d : help.diagrams()) {
    help.scroll_area()->ensureWidgetVisible(const_cast<BoardDiagram*>(d));
    QApplication::processEvents();
    const QImage shot = help.grab().toImage();
    const auto& pc = d->pieces().front();
    ASSERT_FALSE(is_target(*d, pc.col, pc.row));
    const QPoint at = d->mapTo(&help, d->square_rect(pc.col, pc.row).topLeft());
    EXPECT_TRUE(shows_picture(shot, at, art::picture(pc.code, dpr))) << "ratio " << dpr;
  }
  keep(help.grab().toImage(), QStringLiteral("rules_help_window.png"));
}

TEST(RulesHelpPage, NarrowWindowWrapsTheTextInsteadOfScrollingSideways) {
  RulesHelp help;
  help.resize(900, 600);
  help.show();
  QApplication::processEvents();
  const int wide_height = help.page()->height();
  help.resize(help.minimumWidth(), 600);
  QApplication::processEvents();
  keep(help.render_page(1.0), QStringLiteral("rules_help_narrow.png"));
  EXPECT_EQ(help.scroll_area()->horizontalScrollBar()->maximum(), 0);
  EXPECT_GT(help.page()->height(), wide_height);
  EXPECT_GT(help.scroll_area()->verticalScrollBar()->maximum(), 0);
}

// The position a diagram starts from: its pieces, with the moves already played put back.
Kyokumen before(const BoardDiagram& d) {
  Kyokumen k;
  for (const auto& pc : d.pieces()) k.ban[pc.col][pc.row] = pc.code;
  const auto& moves = d.moves();
  for (auto m = moves.rbegin(); m != moves.rend(); ++m)
    if (m->kind == Kind::Played) {
      k.ban[m->from_col][m->from_row] = k.ban[m->to_col][m->to_row];
      k.ban[m->to_col][m->to_row] = kara;
    }
  k.mochigoma_sita[1] = d.hand_code() == -HU ? 1 : 0;
  k.shiage();
  return k;
}

int moving_code(const Kyokumen& k, const BoardDiagram& d, const DiagramMove& m) {
  return m.from_col == TE_SITA ? d.hand_code() : k.ban[m.from_col][m.from_row];
}

void play(Kyokumen& k, int code, const DiagramMove& m) {
  if (m.from_col != TE_SITA) k.ban[m.from_col][m.from_row] = kara;
  k.ban[m.to_col][m.to_row] = code;
}

TEST(RulesHelpDiagrams, EveryExampleMoveIsOneThePiecesCanMake) {
  RulesHelp help;
  for (const BoardDiagram* d : help.diagrams()) {
    Kyokumen k = before(*d);
    for (const DiagramMove& m : d->moves()) {
      const int code = moving_code(k, *d, m);
      ASSERT_TRUE(is_koma(code)) << "no piece on " << m.from_col << "," << m.from_row;
      EXPECT_TRUE(k.idou_kanou(m.from_col, m.from_row, m.to_col, m.to_row, code))
          << code << " from " << m.from_col << "," << m.from_row << " to " << m.to_col << "," << m.to_row;
      // Refused and allowed third moves are alternatives, not moves of the game.
      if (m.kind == Kind::Planned || m.kind == Kind::Played) play(k, code, m);
    }
    for (const auto& mark : d->marks())
      EXPECT_EQ(before(*d).idou_kanou(TE_SITA, 3, mark.col, mark.row, d->hand_code()),
                mark.allowed)
          << "drop mark on " << mark.col << "," << mark.row;
  }
}

// Refused third moves break one of the two restrictions; allowed ones are excused by a
// check that the piece of the second move gives.
TEST(RulesHelpDiagrams, ThirdMoveMarksFollowTheTwoRestrictions) {
  RulesHelp help;
  int refused = 0, allowed = 0;
  for (const BoardDiagram* d : help.diagrams()) {
    const DiagramMove* first = nullptr;
    const DiagramMove* second = nullptr;
    for (const DiagramMove& m : d->moves())
      if (m.kind == Kind::Played) (m.number == 1 ? first : second) = &m;
    for (const DiagramMove& m : d->moves()) {
      if (m.kind != Kind::Refused && m.kind != Kind::Allowed) continue;
      ASSERT_TRUE(first && second);
      EXPECT_EQ(m.number, 3);
      const bool moves_first = m.from_col == first->to_col && m.from_row == first->to_row;
      const bool takes_second = m.to_col == second->to_col && m.to_row == second->to_row;
      EXPECT_TRUE(moves_first || takes_second);
      if (m.kind == Kind::Refused) {
        ++refused;
        continue;
      }
      ++allowed;
      Kyokumen k = before(*d);
      play(k, k.ban[first->from_col][first->from_row], *first);
      const int checker = k.ban[second->from_col][second->from_row];
      play(k, checker, *second);
      int king_col = 0, king_row = 0;
      for (int c = 1; c <= 9; ++c)
        for (int r = 1; r <= 9; ++r)
          if (k.ban[c][r] == -OU) king_col = c, king_row = r;
      ASSERT_NE(king_col, 0) << "the example needs the king that is in check";
      EXPECT_TRUE(k.idou_kanou(second->to_col, second->to_row, king_col, king_row, checker))
          << "the piece moved second gives check";
      EXPECT_TRUE(takes_second) << "taking the checking piece is what lifts the check";
    }
  }
  EXPECT_EQ(refused, 2);
  EXPECT_EQ(allowed, 1);
}

TEST(RulesHelpDiagrams, PromotionExampleMayPromoteToThePieceShownForTheRightButton) {
  RulesHelp help;
  ASSERT_EQ(help.click_choices().size(), 1);
  const ClickChoice& choice = *help.click_choices()[0];
  int examples = 0;
  for (const BoardDiagram* d : help.diagrams()) {
    const Kyokumen k = before(*d);
    for (const DiagramMove& m : d->moves()) {
      if (m.number != 0 || m.from_col == TE_SITA || k.ban[m.from_col][m.from_row] != choice.code(0)) continue;
      int promoted = 0;
      EXPECT_TRUE(naru_kanou(m.from_col, m.from_row, m.to_row, choice.code(0), promoted));
      EXPECT_TRUE(narazu_kanou(m.to_row, choice.code(0))) << "the left button must be a real choice";
      EXPECT_EQ(promoted, choice.code(1));
      ++examples;
    }
  }
  EXPECT_GE(examples, 1);
}

}  // namespace
}  // namespace mirado::qt
