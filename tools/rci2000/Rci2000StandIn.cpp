extern "C" int x;
