// Edit boxes whose form text doubles as a grey placeholder: a left-button press empties the
// box and turns its text black; leaving it empty brings the grey placeholder back.
#pragma once

#include <QString>

class QLineEdit;

namespace tavlo {

void placeholder_box_pressed(QLineEdit* box);
void placeholder_box_focus_lost(QLineEdit* box, const QString& placeholder);

}  // namespace tavlo
