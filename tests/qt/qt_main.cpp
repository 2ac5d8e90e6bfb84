// The Qt tests' main: an offscreen application with the game's font, as the program
// sets it up, so what the tests draw is what a player sees.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFont>

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐ明朝"), QStringLiteral("IPAPMincho"));
  QApplication::setFont(QFont(QStringLiteral("ＭＳ Ｐ明朝")));
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
