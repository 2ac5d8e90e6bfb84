#include "qt/rules_help.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QTextDocument>
#include <QVBoxLayout>

#include "qt/board_diagram.h"
#include "rules/koma.h"

namespace mirado::qt {

namespace {

using Kind = DiagramMove::Kind;

const QColor kPaper(251, 247, 238);
constexpr int kPageMargin = 22;
constexpr int kFigureGap = 28;

QLabel* heading(const QString& text) {
  auto* l = new QLabel(text);
  l->setObjectName(QStringLiteral("heading"));
  l->setWordWrap(true);
  return l;
}

// Japanese reads more easily with air between the lines than Qt's default leaves.
QString spaced(QString html) {
  html.replace(QStringLiteral("<br>"), QStringLiteral("</p><p style='%1'>"));
  html.replace(QStringLiteral("<table"), QStringLiteral("</p><table"));
  html.replace(QStringLiteral("</table>"), QStringLiteral("</table><p style='%1'>"));
  html.replace(QStringLiteral("<td>"), QStringLiteral("<td style='%1'>"));
  return (QStringLiteral("<p style='%1'>") + html + QStringLiteral("</p>"))
      .arg(QStringLiteral("line-height: 150%; margin-top: 0; margin-bottom: 3px"));
}

QLabel* paragraph(const QString& html) {
  auto* l = new QLabel(spaced(html));
  l->setObjectName(QStringLiteral("body"));
  l->setTextFormat(Qt::RichText);
  l->setWordWrap(true);
  l->setTextInteractionFlags(Qt::TextSelectableByMouse);
  return l;
}

// A picture with its caption underneath, the caption no wider than the picture.
QWidget* figure(QWidget* picture, const QString& caption) {
  auto* box = new QWidget;
  auto* v = new QVBoxLayout(box);
  v->setContentsMargins(0, 0, 0, 0);
  v->setSpacing(6);
  v->addWidget(picture, 0, Qt::AlignLeft);
  auto* text = paragraph(caption);
  text->setObjectName(QStringLiteral("caption"));
  text->setFixedWidth(std::max(picture->sizeHint().width(), 190));
  v->addWidget(text);
  v->addStretch();
  return box;
}

QWidget* figures(std::initializer_list<QWidget*> items) {
  auto* row = new QWidget;
  auto* h = new QHBoxLayout(row);
  h->setContentsMargins(12, 6, 0, 10);
  h->setSpacing(kFigureGap);
  for (QWidget* w : items) h->addWidget(w, 0, Qt::AlignTop);
  h->addStretch();
  return row;
}

// The same corner of a game in the first two pictures: the turn, and what its third
// move may not do.
BoardDiagram* middle_game(BoardDiagram* d) {
  d->piece(4, 4, KIN).piece(7, 5, HU).piece(3, 5, HU);
  d->piece(3, 7, -HU).piece(5, 7, -HU).piece(7, 7, -HU).piece(4, 8, -GIN).piece(6, 8, -HISHA);
  return d;
}

BoardDiagram* turn_diagram() {
  auto* d = middle_game(new BoardDiagram(3, 4, 5, 5));
  d->piece(3, 8, -KAKU).piece(5, 4, KEI);
  d->move({3, 8, 5, 6, 1}).move({5, 4, 6, 6, 2}).move({3, 7, 3, 6, 3});
  return d;
}

BoardDiagram* restriction_diagram() {
  auto* d = middle_game(new BoardDiagram(3, 4, 5, 5));
  d->piece(5, 6, -KAKU).piece(6, 6, KEI);
  d->move({3, 8, 5, 6, 1, Kind::Played}).move({5, 4, 6, 6, 2, Kind::Played});
  d->move({5, 6, 7, 4, 3, Kind::Refused}).move({6, 8, 6, 6, 3, Kind::Refused});
  return d;
}

BoardDiagram* exception_diagram() {
  auto* d = new BoardDiagram(3, 5, 5, 5);
  d->piece(5, 7, -HU).piece(6, 7, -HU).piece(7, 6, -HU);
  d->piece(5, 8, -OU).piece(6, 8, -GIN).piece(4, 9, -KIN).piece(3, 9, -HISHA).piece(3, 6, KAKU);
  d->move({7, 7, 7, 6, 1, Kind::Played}).move({4, 5, 3, 6, 2, Kind::Played});
  d->move({3, 9, 3, 6, 3, Kind::Allowed});
  return d;
}

BoardDiagram* promotion_diagram() {
  auto* d = new BoardDiagram(5, 1, 5, 5);
  d->zone(1, 3);
  d->piece(9, 1, KYOU).piece(8, 1, KEI).piece(6, 1, KIN).piece(9, 3, HU).piece(8, 3, HU).piece(6, 3, HU);
  d->piece(7, 4, -GIN).piece(7, 5, -HU);
  d->move({7, 4, 7, 3, 0});
  return d;
}

BoardDiagram* drop_diagram() {
  auto* d = new BoardDiagram(3, 5, 5, 5);
  d->piece(4, 7, -HU).piece(7, 7, -HU).piece(5, 5, -TO).piece(5, 8, -KIN).piece(6, 8, -GIN);
  d->hand(-HU);
  d->mark(4, 6, false).mark(5, 6, true);
  d->move({TE_SITA, 0, 5, 6, 0});
  return d;
}

QString list(std::initializer_list<const char*> items) {
  QString html = QStringLiteral("<table cellspacing='0' cellpadding='2'>");
  for (const char* item : items)
    html += QStringLiteral("<tr><td width='18'>・</td><td>%1</td></tr>").arg(QString::fromUtf8(item));
  return html + QStringLiteral("</table>");
}

void add_overview(QVBoxLayout* v) {
  v->addWidget(heading(QStringLiteral("ミラド将棋のあらまし")));
  v->addWidget(paragraph(QStringLiteral(
      "ミラド将棋は、<b>一回の番に三手</b>続けて指す将棋です。駒の並べ方と動き方、取った駒を持ち駒にして"
      "打てること、成れることは、ふつうの将棋と変わりません。ちがうのは番の進め方で、三手のうち一手は"
      "<b>相手の駒</b>を動かします。<br>"
      "二人で一つのマウスを使う「対局(人間)」と、コンピュータと指す「対局(COM)」があります。")));
}

void add_handling(QVBoxLayout* v) {
  v->addWidget(heading(QStringLiteral("駒の動かし方")));
  v->addWidget(paragraph(QStringLiteral(
      "動かしたい駒をクリックしてから、行き先のマスをクリックします。持ち駒を打つときは、盤の横に並んだ"
      "持ち駒をクリックしてから、打つマスをクリックします。1手目と3手目は、ほかの自分の駒をクリックすると"
      "選び直せます。行けないマスをクリックすると、駒の選択は取り消されます。<br>"
      "ｵﾌﾟｼｮﾝの「移動指導」にチェックを付けると、選んだ駒が動ける場所に白い枠が出ます。この枠は駒の動きだけを"
      "見ているので、下に書く3手目の決まりや王手のために指せないマスにも出ることがあります。")));
}

// One row of the table of a turn's moves, its name in the colour the pictures use.
QString turn_step(int number, const char* what) {
  return QStringLiteral("<tr><td><b><font color='%1'>%2手目</font></b></td><td>%3</td></tr>")
      .arg(move_colour(number).name())
      .arg(number)
      .arg(QString::fromUtf8(what));
}

void add_turn(QVBoxLayout* v) {
  v->addWidget(heading(QStringLiteral("一回の番は三手")));
  v->addWidget(paragraph(
      QStringLiteral("自分の番が来たら、次の三手を続けて指します。") +
      QStringLiteral("<table cellspacing='0' cellpadding='3'>") +
      turn_step(1, "自分の駒を動かす（自分の持ち駒を打ってもよい）") +
      turn_step(2, "相手の駒を動かす（相手の持ち駒を打ってもよい）") +
      turn_step(3, "もう一度、自分の駒を動かす（自分の持ち駒を打ってもよい）") + QStringLiteral("</table>") +
      QStringLiteral("3手目を指すと相手の番になり、相手も同じように三手指します。相手の2手目では、"
                     "<b>あなたの駒</b>が動かされます。<br>"
                     "取られた駒は、取った駒の持ち主の持ち駒になります。ですから2手目に相手の駒であなたの駒を"
                     "取ると、その駒は相手の持ち駒になります。")));
  v->addWidget(figures({figure(
      turn_diagram(), QStringLiteral("<font color='%1'>①</font> 自分の角を動かす<br>"
                                     "<font color='%2'>②</font> 相手の桂を跳ねる<br>"
                                     "<font color='%3'>③</font> 自分の歩を進める")
                          .arg(move_colour(1).name(), move_colour(2).name(), move_colour(3).name()))}));
}

void add_restrictions(QVBoxLayout* v) {
  v->addWidget(heading(QStringLiteral("3手目の二つの決まり")));
  v->addWidget(paragraph(QStringLiteral("3手目には、してはいけないことが二つあります。") +
                         list({"<b>1手目に動かした駒</b>を、もう一度動かすこと。",
                               "<b>2手目に動かした相手の駒</b>を取ること。"}) +
                         QStringLiteral("指そうとすると「１手目に動かした駒は動かせません」または"
                                        "「２手目に動かした駒は取れません」と出て、その手は取り消されます。"
                                        "別の手を指し直してください。")));
  v->addWidget(
      paragraph(QStringLiteral("ただし、次のどちらかのときは、この二つの決まりはなくなります。") +
                list({"3手目を指す前に<b>自分の王に王手</b>がかかっていて、その手で王手がはずれるとき。",
                      "自分の駒が<b>王一枚だけ</b>（持ち駒もない）のとき。"})));
  v->addWidget(figures(
      {figure(restriction_diagram(),
              QStringLiteral("①で動かした角は、③では動かせない。②で動かした桂は、③では取れない。")),
       figure(exception_diagram(),
              QStringLiteral("②で動かした相手の角が王手をかけている。飛車で角を取れば王手がはずれるので、"
                             "③で取ってよい。"))}));
}

void add_promotion(QVBoxLayout* v) {
  v->addWidget(heading(QStringLiteral("成る（右クリック）")));
  v->addWidget(paragraph(QStringLiteral(
      "敵陣（相手側の三段）に入るとき、敵陣の中で動くとき、敵陣から出るときに、駒は成ることができます。"
      "成りたいときは、行き先のマスを<b>マウスの右ボタン</b>でクリックします。左ボタンでクリックすると"
      "成らずに進みます。<br>"
      "歩と香を一番奥の段へ、桂を奥から二段目までへ動かすときは、必ず成ります。左ボタンでは"
      "「マウスの右をクリックして下さい」と出るので、右ボタンでクリックし直してください。<br>"
      "金と王、もう成っている駒は成れません。2手目に相手の駒を動かすときは、相手にとっての敵陣、"
      "つまり自分の側の三段で成れます。")));
  v->addWidget(
      figures({figure(promotion_diagram(), QStringLiteral("赤い三段が敵陣。銀が敵陣に入るので成れる。")),
               figure(new ClickChoice(-GIN, -GIN - 1),
                      QStringLiteral("行き先をどちらのボタンでクリックするかで決まる。"))}));
}

void add_drops(QVBoxLayout* v) {
  v->addWidget(heading(QStringLiteral("持ち駒を打つ・二歩")));
  v->addWidget(paragraph(
      QStringLiteral("持ち駒は、空いているマスならどこにでも打てます。打った駒は成っていない状態で置かれ、"
                     "右ボタンで打っても成りません。ただし、次のところには打てません。") +
      list({"歩と香を一番奥の段、桂を奥から二段目までのところ（そこから先へ動けないため）。",
            "<b>二歩</b>：成っていない自分の歩がある筋（縦の列）。と金は歩に数えません。"}) +
      QStringLiteral("歩を打って詰ませる手（打ち歩詰め）は、このゲームでは反則になりません。")));
  v->addWidget(figures({figure(drop_diagram(), QStringLiteral("6筋には自分の歩があるので、歩は打てない（×）。"
                                                              "5筋にあるのはと金だけなので打てる（○）。"))}));
}

void add_ending(QVBoxLayout* v) {
  v->addWidget(heading(QStringLiteral("王手と勝ち負け")));
  v->addWidget(paragraph(QStringLiteral(
      "自分の王が取られる形になる手は指せません。「王手です。自殺はできません」と出て、"
      "その手は取り消されます。2手目も同じで、相手の駒を動かして相手の王が取られる形にすることはできません。<br>"
      "ですから、1手目で王手をかけると、2手目は相手の駒を動かして、その王手をはずすことになります。"
      "どう動かしても王手がはずれなければ<b>詰み</b>です。3手目で王手をかけられた側は、"
      "自分の番の1手目で王手をはずさなければなりません。<br>"
      "相手の<b>王を取る</b>か、相手を<b>詰ませた</b>ほうが勝ちです。勝ち負けが決まると知らせが出て、"
      "対局は終わります。次の対局は「対局」から始めてください。千日手や持将棋の決まりはありません。")));
}

void add_computer(QVBoxLayout* v) {
  v->addWidget(heading(QStringLiteral("コンピュータとの対局")));
  v->addWidget(paragraph(
      QStringLiteral(
          "「対局」→「対局(COM)」で「先手」を選ぶとあなたから、「後手」を選ぶとコンピュータから"
          "指し始めます。あなたはいつも下側の駒を持ちます。<br>"
          "コンピュータの番では三手が続けて指され、動く駒が点滅して知らせます。その2手目では、"
          "あなたの駒が、あなたにとって困る所へ動かされます。<br>"
          "強さは「対局」→「COM対局ﾚﾍﾞﾙ」で選びます。対局の途中でも変えられ、コンピュータの次の番から"
          "変わります。") +
      list({"<b>LEVEL1</b>　いちばんやさしい。取れる駒の値打ちをあまり気にしません。",
            "<b>LEVEL2</b>　駒の損得は考えますが、駒ごとの攻め方の工夫はしません。",
            "<b>LEVEL3</b>　すべての判断を使って、三手を一手ずつ、その一手を指した後の形を見て選びます。",
            "<b>LEVEL4</b>　自分の番の三手をまとめて、それに答える相手の番まで読んで選びます。",
            "<b>LEVEL5</b>　いちばん強い。自分の番と相手の番を何番も先まで読んで選びます。"
            "LEVEL4とLEVEL5が一回の番に考える時間は「ｵﾌﾟｼｮﾝ」→「COMの考慮時間」で選べます"
            "（0.25秒・1秒・3秒、はじめは0.25秒）。"}) +
      QStringLiteral("選んだレベルは、次に起動したときもそのまま使われます（はじめはLEVEL3です）。")));
}

QString page_style() {
  return QStringLiteral(
             "QWidget#page { background: %1; }"
             "QLabel { color: #2b2118; }"
             "QLabel#heading { font-size: 15pt; font-weight: bold; color: #5a3413;"
             "  border-style: solid; border-color: #b5651d; border-width: 0 0 0 5px;"
             "  padding: 2px 0 2px 8px; margin-top: 14px; }"
             "QLabel#body { font-size: 11pt; }"
             "QLabel#caption { font-size: 10pt; color: #4a3a2a; }")
      .arg(kPaper.name());
}

}  // namespace

RulesHelp::RulesHelp(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("rules_help"));
  setWindowTitle(QStringLiteral("遊び方"));
  setSizeGripEnabled(true);

  page_ = new QWidget;
  page_->setObjectName(QStringLiteral("page"));
  page_->setStyleSheet(page_style());
  auto* v = new QVBoxLayout(page_);
  v->setContentsMargins(kPageMargin, 8, kPageMargin, kPageMargin);
  v->setSpacing(8);
  add_overview(v);
  add_handling(v);
  add_turn(v);
  add_restrictions(v);
  add_promotion(v);
  add_drops(v);
  add_ending(v);
  add_computer(v);
  v->addStretch();

  scroll_ = new QScrollArea;
  scroll_->setWidget(page_);
  scroll_->setWidgetResizable(true);
  scroll_->setFrameShape(QFrame::NoFrame);
  scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
  buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("閉じる"));
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 10);
  outer->addWidget(scroll_);
  auto* bar = new QHBoxLayout;
  bar->setContentsMargins(12, 0, 12, 0);
  bar->addWidget(buttons);
  outer->addLayout(bar);

  setMinimumSize(page_->minimumSizeHint().width() + 40, 320);
  resize(std::max(640, minimumWidth()), 720);
}

void RulesHelp::show_rules_help(QWidget* parent) {
  auto* open = parent
                   ? parent->findChild<RulesHelp*>(QStringLiteral("rules_help"), Qt::FindDirectChildrenOnly)
                   : nullptr;
  if (!open) {
    open = new RulesHelp(parent);
    open->setAttribute(Qt::WA_DeleteOnClose);
  }
  open->show();
  open->raise();
  open->activateWindow();
}

void RulesHelp::fit_page_to_width() {
  ensurePolished();
  if (QLayout* l = layout()) l->activate();
  const int w = std::max(scroll_->viewport()->width(), page_->minimumSizeHint().width());
  const int h = std::max(page_->heightForWidth(w), page_->minimumSizeHint().height());
  page_->resize(w, h);
}

QImage RulesHelp::render_page(qreal dpr) {
  fit_page_to_width();
  QImage img((QSizeF(page_->size()) * dpr).toSize(), QImage::Format_ARGB32_Premultiplied);
  img.setDevicePixelRatio(dpr);
  img.fill(kPaper);
  page_->render(&img);
  return img;
}

QString RulesHelp::plain_text() const {
  QString all;
  for (const QLabel* l : page_->findChildren<QLabel*>()) {
    QTextDocument doc;
    doc.setHtml(l->text());
    all += doc.toPlainText() + QLatin1Char('\n');
  }
  return all;
}

QList<BoardDiagram*> RulesHelp::diagrams() const { return page_->findChildren<BoardDiagram*>(); }

QList<ClickChoice*> RulesHelp::click_choices() const { return page_->findChildren<ClickChoice*>(); }

}  // namespace mirado::qt
