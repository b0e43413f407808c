#include "params/DispatchState.h"

DispatchState Dispatch;

void ResetDispatchState() { Dispatch = DispatchState{}; }
