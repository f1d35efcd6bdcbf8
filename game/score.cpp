// The score: ten points at a time, six digits, and the best score of this run.
#include "form/form1.h"
#include "platform/convert.h"

namespace vorbix {

void Form1::addscore()
{
    state.score = last_characters(decimal_text(100000000 + (state.score.numeric_value() + 10)), 6);
    ui().scorelabel.text = "Score:" + state.score.text();
    // Six-digit texts compare in numeric order; an empty best score is beaten by any score.
    if (state.score.text() > state.hiscore) state.hiscore = state.score.text();
    ui().hscorelabel.text = "HiScore:" + state.hiscore;
}

}  // namespace vorbix
