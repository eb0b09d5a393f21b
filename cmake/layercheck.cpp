// Linked with one layer's whole library and only the layers below it: a reference to a
// layer above leaves an undefined symbol, and the link fails.
int main() { return 0; }
