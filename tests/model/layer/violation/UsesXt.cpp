// A model source that needs an Xt symbol without including a header: the layer check must refuse
// the library it is built into.
extern "C" char* XtMalloc(unsigned size);

char* AllocateThroughXt() {
    return XtMalloc(1);
}
