/* The smallest Windows program: returns at once. The pointer needs a base
   relocation, so the linker writes a relocation section after the
   resources, as it does for the program itself. */
static int value;
int *volatile pointer = &value;
int __stdcall start(void) { return *pointer; }
