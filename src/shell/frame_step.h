// The frame step and the two timers' handlers: what runs each frame, the
// switch into and out of video playback, the music timer and screenshots.
#pragma once

#include "shell/game.h"

// The frame clock's handler; `elapsed` is at most 0.05 s.
void FrameStep(TqvxGame& game, double elapsed);
void VideoStart(TqvxGame& game);
// The 100 ms video timer's handler.
void VideoWatch(TqvxGame& game);
// A frame of the main loop while a video plays: moves it on by `elapsed`.
void VideoFrame(TqvxGame& game, double elapsed);
// The tree on screen: the video's picture while one plays, else the game's.
TGLScene& ShownScene(TqvxGame& game);
// The 5 s music timer's handler.
void MusicStep(TqvxGame& game);
// Saves the game picture as the first free "screen_NNNN.bmp".
void Screenshot(TqvxGame& game);
