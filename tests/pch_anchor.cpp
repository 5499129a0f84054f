// Built only to precompile the headers that the tests share.
int main() { return 0; }
