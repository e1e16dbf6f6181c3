# Test runs that need a process of their own: add one velmora_test_run() line per run.
