// A shared object without the class-object entry point.
extern "C" __attribute__((visibility("default"))) int NotAClassObject() { return 0; }
