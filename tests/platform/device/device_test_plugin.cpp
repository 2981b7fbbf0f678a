// A library that lives on a test device: the loader tests find it only through the device root.
extern "C" int devicePluginAnswer() { return 42; }
