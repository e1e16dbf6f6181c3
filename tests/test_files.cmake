# The Chinese round trip again, in a process whose ANSI code page is 936.
velmora_test_run(test_files_zh_CN ${name} FILTER LineListFile.Chinese* ENV LC_ALL=zh_CN.UTF-8)
