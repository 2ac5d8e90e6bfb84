#include "fakes.h"

#include "app/names.h"

namespace mirado::test {

int FakeCanvas::picture_at(double c, double r) const {
  const int x = cell_x(c), y = cell_y(r);
  for (auto it = ops.rbegin(); it != ops.rend(); ++it)
    if (it->kind == Painted::kPicture && it->x == x && it->y == y) return it->id_or_colour;
  return -1;
}

std::vector<std::string> FakeCanvas::texts() const {
  std::vector<std::string> out;
  for (const auto& op : ops)
    if (op.kind == Painted::kText) out.push_back(op.text);
  return out;
}

Answer FakeUi::message_box(std::string_view text, std::string_view title, Buttons b, Icon icon) {
  Answer a = Answer::ok;
  if (b != Buttons::ok) {
    a = b == Buttons::yesno_iie || b == Buttons::naru ? Answer::no : Answer::yes;
    if (!answers.empty()) {
      a = answers.front();
      answers.pop_front();
    }
  }
  boxes.push_back({std::string(text), std::string(title), b, icon, a});
  return a;
}

void FakeSound::sound(std::string_view verb, Oto which) {
  log.push_back(std::string(verb) + " " + oto_name(which));
}

}  // namespace mirado::test
