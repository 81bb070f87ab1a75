// Frames of play that nobody sees need not be drawn: in a replay checked
// headless (--verify) and while the viewer passes a seek at once. A frame
// is left undrawn only where its picture is not looked at before the next
// frame replaces it: it is not the level's last (the game over and the
// level's end read it), no pause or screenshot key comes before the next
// frame, the recording does not end or close there, no wait in between is
// shown and no state is kept for seeks (frame/replay_snapshots.h) in
// between. The world never reads the picture, so the world hash and every
// later drawn picture stay as they are.
#pragma once

// For --verify: every frame nobody sees left undrawn.
void skip_unseen_frames(bool on);
// The tick loop's frame: drawn, or left undrawn when nobody sees it.
void draw_unless_unseen(void (*draw)());
// Whether the picture of the last frame of play was left undrawn; a tick
// loop begins with a drawn one.
bool last_frame_undrawn();
void frames_drawn_from_here();
