DATA: d
P: 3
N: -1
FORMAT: free
MISSING-CODE: 99999
INTERCEPT: yes
'VARIABLE NAME' TYPE DF
y response 0
x predictor 3
g factor 2
FAMILY: binomial
LINK: logit
THRESHOLDS: 0.001 0.001
'MAX ITERS:' 10 10
