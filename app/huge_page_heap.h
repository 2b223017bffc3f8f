// Moves the process's malloc heap onto transparent huge pages, where the kernel grants them
// on request. Each fresh 4 KiB page costs a fault, and on the virtual machines this runs on
// a fault is a slow trip to the host: the window's start-up (its backing store, the decoded
// artwork, Qt's own objects) spent more time faulting heap pages in than drawing them.
// Called first in main; without huge pages it changes only where the heap goes on.
#pragma once

void PlaceHeapOnHugePages();
