// Small pictures for the rules help: a few squares of the board with the game's own
// pieces, the moves of an example drawn as numbered arrows, and allowed / refused marks.
#pragma once

#include <QPainter>
#include <QString>
#include <QWidget>
#include <vector>

namespace mirado::qt {

// One move of an example. Squares are board cells (column 1 the leftmost on screen,
// row 1 the top row); a from-column of TE_SITA is a drop from the lower hand.
struct DiagramMove {
  enum class Kind {
    Planned,  // an arrow from the piece to where it goes
    Played,   // already made: the piece stands on `to`, its squares are outlined
    Refused,  // a dashed arrow crossed out
    Allowed,  // an arrow with a ring: an exception that may be played
  };
  int from_col, from_row, to_col, to_row;
  int number;  // 1..3, the move of the turn; 0 for none
  Kind kind = Kind::Planned;
};

// The colour of the n-th move of a turn, the same in every picture of the help.
QColor move_colour(int number);

class BoardDiagram : public QWidget {
  Q_OBJECT

 public:
  // Shows board columns first_col .. first_col + cols - 1 and rows first_row ..
  // first_row + rows - 1, with the file and rank labels the game prints.
  BoardDiagram(int first_col, int first_row, int cols, int rows, QWidget* parent = nullptr);

  BoardDiagram& piece(int col, int row, int code);
  BoardDiagram& move(const DiagramMove& m);
  BoardDiagram& mark(int col, int row, bool allowed);  // a ring or a cross on a square
  BoardDiagram& zone(int first_row, int last_row);     // tinted rows: where pieces promote
  BoardDiagram& hand(int code);                        // one lower-hand square beside the board

  struct Piece {
    int col, row, code;
  };
  struct Mark {
    int col, row;
    bool allowed;
  };
  const std::vector<Piece>& pieces() const { return pieces_; }
  const std::vector<DiagramMove>& moves() const { return moves_; }
  const std::vector<Mark>& marks() const { return marks_; }
  int hand_code() const { return hand_code_; }
  // Widget coordinates of a board square, or of the hand square for col TE_SITA.
  QRect square_rect(int col, int row) const;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  bool has_zone() const;
  QRect board_rect() const;
  QPointF centre(int col, int row) const;
  void paint_labels(QPainter& p) const;
  void paint_zone(QPainter& p) const;
  void paint_squares(QPainter& p, qreal dpr) const;
  void paint_grid(QPainter& p) const;
  void paint_hand(QPainter& p, qreal dpr) const;
  void paint_played(QPainter& p, const DiagramMove& m) const;
  void paint_arrow(QPainter& p, const DiagramMove& m) const;
  void paint_mark(QPainter& p, QPointF at, bool allowed, qreal radius) const;
  int code_at(int col, int row) const;
  bool marked(int col, int row) const;

  int first_col_, first_row_, cols_, rows_;
  int zone_first_ = 0, zone_last_ = -1;
  int hand_code_ = 0;
  std::vector<Piece> pieces_;
  std::vector<DiagramMove> moves_;
  std::vector<Mark> marks_;
};

// The two ways to finish a move that may promote: the left button keeps the piece as
// it is, the right button turns it over.
class ClickChoice : public QWidget {
  Q_OBJECT

 public:
  ClickChoice(int code, int promoted_code, QWidget* parent = nullptr);
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }
  // Widget coordinates of the piece shown in row 0 (left button) or 1 (right button).
  QRect piece_rect(int row) const;
  int code(int row) const { return row == 0 ? code_ : promoted_code_; }

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  int code_, promoted_code_;
};

// The pixel ratio a painter really draws at (a widget rendered into a 2x image paints
// at 2 even on a 1x screen), so pictures can be fetched at full sharpness.
qreal painter_ratio(const QPainter& p);

}  // namespace mirado::qt
