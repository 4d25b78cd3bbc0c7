extern "C" void *probe(void)
{
    return new int(1);
}
