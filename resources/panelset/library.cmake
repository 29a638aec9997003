# Four labels and the cancel button, normal and highlighted.
set(LIB_TYPELIB_NAME pozadi)
set(LIB_IID F8A50F48-690B-11D3-B736-B90AB2B33770)
set(LIB_CLSID F8A50F49-690B-11D3-B736-B90AB2B33770)
