# Real encodes with every shipped profile: slow, but part of every run.
set_tests_properties(tst_profileconvert PROPERTIES LABELS "slow" TIMEOUT 1200)
