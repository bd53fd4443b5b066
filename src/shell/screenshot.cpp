#include "shell/frame_step.h"

void Screenshot(TqvxGame&) {}
