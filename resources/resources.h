#pragma once
// Registers the program's pictures (":/pictures/...") with Qt. Resources in a
// static library are not registered by themselves; every window that shows a
// picture calls this first. Cheap after the first call.
void initTessResources();
