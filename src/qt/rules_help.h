// The "遊び方" window: how a three-move turn is played, with small boards drawn with
// the game's own pieces. It stands on its own; the menu only has to call
// show_rules_help.
#pragma once

#include <QDialog>
#include <QImage>
#include <QList>

class QScrollArea;

namespace mirado::qt {

class BoardDiagram;
class ClickChoice;

class RulesHelp : public QDialog {
  Q_OBJECT

 public:
  explicit RulesHelp(QWidget* parent = nullptr);

  // Opens the window beside the game, or brings it forward when it is already open.
  // It does not block: the player can keep it open while playing.
  static void show_rules_help(QWidget* parent);

  // The whole page, the part scrolled out of view included, laid out at the current
  // width and drawn for the pixel ratio dpr (a picture of logical size times dpr).
  QImage render_page(qreal dpr);
  // All the words of the page, in reading order.
  QString plain_text() const;
  QWidget* page() const { return page_; }
  QScrollArea* scroll_area() const { return scroll_; }
  QList<BoardDiagram*> diagrams() const;
  QList<ClickChoice*> click_choices() const;

 private:
  void fit_page_to_width();

  QScrollArea* scroll_;
  QWidget* page_;
};

}  // namespace mirado::qt
