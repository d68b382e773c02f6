title:Column temperature and composition profile
indeplab:Stage
numpoints:11
numindep:1
numdep:2
multi-y:
indeplow:1
indephigh:11
indepint:1
depvarno:0
deplab:Temperature (C)
deplow:60
dephigh:120
depvarno:1
deplab:Light key mole fraction
depscale:0
deplow:0
dephigh:1
depleg:Temperature
depleg:Light key
values:
1 2 3 4 5 6 7 8 9 10 11
64.2 66.8 70.1 74.9 81.3 88.0 94.6 100.2 105.1 109.7 114.0
0.982 0.951 0.903 0.821 0.702 0.561 0.420 0.301 0.198 0.112 0.043
