// Marks this library as the test runtime, which is no browser: tessarine-pack ship
// refuses to ship a WebView2Loader.dll that exports this name.
extern "C" __declspec(dllexport) const int TessarineTestRuntimeNotForShipping = 1;
