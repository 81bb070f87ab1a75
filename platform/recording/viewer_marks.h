// The replay viewer's mark: a band along the bottom of the picture with
// "REPLAY", the state ("PAUSED", the speed when not 1x), the time and the
// length, and a thin bar of how far the recording has played. Drawn with
// the library's 8 x 8 font in the colours of the palette on show nearest
// to black, white, red and grey.
#pragma once

#include <allegro.h>

#include <string>

// The viewer's speed as a fraction: 1/4, 1/2, 1/1, 2/1, 4/1, 8/1.
struct ViewerSpeed {
  int times, per;
};

struct ViewerMarks {
  long long now, length;  // waits of the recording (60 a second)
  ViewerSpeed speed;
  bool paused;
};

void draw_viewer_marks(BITMAP *onto, const ViewerMarks &marks);

// A time of the recording as m:ss ("0:36", "12:05", "75:00").
std::string time_of_waits(long long waits);
