// Pictures that cannot be used, told to the user.
//
// The picture readers report what a user must see through the scene graph's
// error reporter, often while a frame is being drawn: the program queues those
// reports and shows them once the paint is over (a box shown inside the paint
// would start the paint again). A picture the user chooses is read once before
// it is taken, so one that cannot be read is refused with a message and the
// picture it was to replace stays.
#pragma once

#include <functional>
#include <string>
#include <vector>

struct QueuedError {
    std::string caption;
    std::string text;
};

// Makes every report wait in a queue; `wake` runs when the queue stops being
// empty (the program posts the showing of the queue from it).
void InstallQueuedErrorReporter(std::function<void()> wake);
// The reports waiting, each once, in the order they came; the queue empties.
std::vector<QueuedError> TakeQueuedErrors();

// Reads the picture as a texture or background would be read. False, with a
// message naming the file and what is wrong with it, when it cannot be.
bool CheckPictureFile(const std::string& path, std::string& message);
